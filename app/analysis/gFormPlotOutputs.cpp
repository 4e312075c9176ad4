#include "gFormPlotOutputs.h"

#include <QFileInfo>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ProgramState.h"
#include "frmMainMenufrm.h"
#include "gFileOrg.h"
#include "gFileValues.h"
#include "gFormDrawing.h"
#include "gFormPictureBox.h"
#include "gFormPrint.h"
#include "gFormServices.h"

namespace kestrova {

namespace {

// The file name's extension in lower case from its last '.', or the whole name when it has none.
QString extensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return (dot < 0 ? name : name.mid(dot)).toLower();
}

int scaledWidth(int width, double scale)
{
    return std::max(1, static_cast<int>(std::lround(width * scale)));
}

}  // namespace

QString SuggestedOutputName(const ImageStore& image, const QString& suffix)
{
    return QString::fromStdString(image.imageFolder + image.imageBaseName) + suffix;
}

bool SaveAsValues(QWidget* parent, const QString& suggestedName, const PlotValuesText& values)
{
    const QString path = runFileDialog(
        parent, {FileDialogKind::Save, suggestedName, QStringLiteral("Comma Separated Values (*.csv)|*.csv"), {}});
    if (path.isEmpty() || !IsValuesFileName(path.toStdString()))
        return false;
    Messages messages;
    const bool written = WriteValuesFile(path.toStdString(), values(), messages);
    showMessages(messages);
    return written;
}

bool SavePictureAsDisplay(ProgramState& state, const QImage& picture, const std::string& path)
{
    Messages messages;
    bool saved = false;
    if (picture.isNull()) {
        messages.push_back("Error - when writing image to output file");
    } else {
        const std::vector<std::uint8_t> bytes = bitmapBytes(picture);
        BusyCursor busy;
        saved =
            SaveDisplay(state, BitmapInfoHeader::forPicture(picture.width(), picture.height()), bytes, path, messages);
    }
    showMessages(messages);
    return saved;
}

bool SaveAsDisplay(QWidget* parent, ProgramState& state, const PictureBox& plotBox, const QString& suggestedName)
{
    const QString path = runFileDialog(parent, {FileDialogKind::Save, suggestedName, imageFileFilter(), {}});
    if (path.isEmpty())
        return false;
    const QString name = QFileInfo(path).fileName();
    const QString ext = extensionOf(name);
    static const QStringList listed{QStringLiteral(".bmp"), QStringLiteral(".fit"), QStringLiteral(".fts"),
                                    QStringLiteral(".fits"), QStringLiteral(".pgm")};
    if (name.size() > ext.size() && !listed.contains(ext))
        return false;
    return SavePictureAsDisplay(state, plotBox.picture(), path.toStdString());
}

bool PrintDrawing(QWidget* parent, PrintSettings& settings, const PlotDrawing& drawing)
{
    return PrintPages(parent, settings, [&drawing](QPrinter& printer, DrawingTarget& target, const QRectF&) {
        // The lines keep their on-screen weight at the printer's resolution.
        const double scale = printer.resolution() / 96.0;
        drawing(target, scaledWidth(1, scale), scaledWidth(3, scale));
    });
}

}  // namespace kestrova
