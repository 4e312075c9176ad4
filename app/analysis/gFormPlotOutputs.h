#pragma once

// The outputs every plot window offers from its File menu: the plotted numbers as a values file,
// the plot box's picture as an image file, and the plot redrawn on the printer. A window hands
// in what it plots: a function that draws the plot on a drawing target and a function that gives
// the values text.

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace kestrova {

class DrawingTarget;
class PictureBox;
struct ImageStore;
struct PrintSettings;
struct ProgramState;

// Draws the whole plot over the target's scale width and height; tickWidth and lineWidth are in
// target pixels (1 and 1 on screen).
using PlotDrawing = std::function<void(DrawingTarget& target, int tickWidth, int lineWidth)>;
// The values file's whole text.
using PlotValuesText = std::function<std::string()>;

// The image's folder and base name followed by `suffix` ("-XAxisProjection"), without extension.
QString SuggestedOutputName(const ImageStore& image, const QString& suffix);

// Save As Values: the save dialog with the suggested name; a name ending ".csv" (any case) gets
// the values text written whole. Cancel, or any other name, does nothing. False unless written.
bool SaveAsValues(QWidget* parent, const QString& suggestedName, const PlotValuesText& values);

// Save As Display: the save dialog with the image filter; the plot box's picture is saved as a
// bitmap, FITS or PGM file by the path's extension (a name without one gets the saving's own
// message). Cancel, or an unlisted extension, does nothing. False unless written.
bool SaveAsDisplay(QWidget* parent, ProgramState& state, const PictureBox& plotBox, const QString& suggestedName);

// Print: the print dialog from the shared settings, which take the user's choice; then the
// drawing on one page, with tick width 1 and line width 3 scaled by the printer's resolution
// over 96 dpi. Cancel and printer failures end it silently (false).
bool PrintDrawing(QWidget* parent, PrintSettings& settings, const PlotDrawing& drawing);

}  // namespace kestrova
