#include "gFormPrint.h"

#include <QPrinter>
#include <algorithm>

#include "gDataLayout.h"
#include "gFormDrawing.h"
#include "gFormServices.h"

namespace kestrova {

bool PrintPages(QWidget* parent, PrintSettings& settings, const PageDrawing& drawPage)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(settings.orientation);
    printer.setCopyCount(settings.copies);
    if (!runPrintDialog(parent, printer))
        return false;
    settings.orientation = printer.pageLayout().orientation();
    settings.copies = printer.copyCount();

    // The painter's origin is the printable area's top left; its size is the page.
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const QRectF area(0.0, 0.0, page.width(), page.height());
    // Copies the printer cannot make itself are printed as further pages.
    const int pages = printer.supportsMultipleCopies() ? 1 : std::max(1, settings.copies);
    DrawingTarget target(printer, area);
    if (!target.isActive())
        return false;
    for (int copy = 0; copy < pages; ++copy) {
        if (copy > 0 && !printer.newPage())
            return false;
        drawPage(printer, target, area);
    }
    return target.painter().end();
}

bool PrintPicture(QWidget* parent, PrintSettings& settings, const QImage& picture, const QString& caption)
{
    return PrintPages(parent, settings, [&picture, &caption](QPrinter&, DrawingTarget& target, const QRectF& area) {
        const PrintLayout layout = printLayout(area.width(), area.height(), target.textWidth(caption));
        target.setCurrentX(layout.captionLeft);
        target.setCurrentY(layout.captionTop);
        target.print(caption);
        target.paintPicture(picture, layout.pictureLeft, layout.pictureTop, layout.pictureWidth, layout.pictureHeight);
    });
}

}  // namespace kestrova
