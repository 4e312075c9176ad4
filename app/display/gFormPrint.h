#pragma once

// Printing a picture on one page under a caption line.

#include <QImage>
#include <QPageLayout>
#include <QString>
#include <functional>

class QPrinter;
class QRectF;
class QWidget;

namespace kestrova {

// Kept from one print to the next for the whole run.
struct PrintSettings {
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    int copies = 1;
};

class DrawingTarget;

// Draws one printed page over `area` (the printable area, its origin at the top left).
using PageDrawing = std::function<void(QPrinter& printer, DrawingTarget& target, const QRectF& area)>;

// Shows the print dialog with the stored settings, stores the user's choice and draws the page
// once for each copy the printer cannot make itself (once when it makes the copies). Cancelling
// and printer failures end it silently (false).
bool PrintPages(QWidget* parent, PrintSettings& settings, const PageDrawing& drawPage);

// Shows the print dialog with the stored settings, stores the user's choice and prints
// `caption` centred at the top and `picture` stretched over 80 % of the page. Cancelling and
// printer failures end it silently (false).
bool PrintPicture(QWidget* parent, PrintSettings& settings, const QImage& picture, const QString& caption);

}  // namespace kestrova
