#pragma once

// The main window's layout, its file-name caption, the zoom check marks and the region
// rectangles.

#include <QString>
#include <initializer_list>

#include "DisplayThresholds.h"
#include "ImageStore.h"
#include "RoIRecord.h"
#include "gDataLayout.h"

class QAction;
class QGroupBox;
class QLabel;
class QWidget;

namespace kestrova {

class PictureView;

// The controls the layout places.
struct MainWindowParts {
    QWidget* area = nullptr;  // the window's inner area
    PictureView* view = nullptr;
    QLabel* lblFN = nullptr;
    QGroupBox* fraValues = nullptr;
};

// Places the viewport, the picture, the scroll bars, the caption and the values frame for the
// window's current inner size. Does nothing while the window is too small.
void LayoutMainWindow(const MainWindowParts& parts, MainWindowState state);

// "File name: " + base name + extension, and "   Display Thresholds: On" when a display
// threshold is on.
QString fileNameCaption(const ImageStore& image, const DisplayThresholds& thresholds);

// Removes the check marks of the zoom items.
void ClearZoomChecks(std::initializer_list<QAction*> items);

// Shows each region's rectangle while its region is on and an image is shown, placed over its
// pixels.
void DrawRoIRectangles(PictureView& view, const RoIRecord& roi, bool imageShown);

}  // namespace kestrova
