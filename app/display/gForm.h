#pragma once

// The main window's layout, its file-name caption, the zoom check marks and the region
// rectangles; the menus and the values frame the windows build alike.

#include <QString>
#include <array>
#include <functional>
#include <initializer_list>

#include "DisplayThresholds.h"
#include "ImageStore.h"
#include "RoIRecord.h"
#include "gDataLayout.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QObject;
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

// A named menu owned by `parent`; its menu action carries the name too.
QMenu* addMenu(QWidget* parent, const char* name, const QString& caption);

// Adds named command items to menus, run in the context of `receiver`. A checkable item keeps
// the check mark the window gives it, not the click's.
struct CommandItems {
    QObject* receiver;
    QAction* operator()(QMenu* menu, const char* name, const QString& caption, std::function<void()> handler,
                        bool checkable = false) const;
};

// Adds the zoom levels 25 %, 50 %, 75 %, 100 % and 200 % to `zoom` as checkable items named
// mnuImageZoom25 ... mnuImageZoom200, each stored through `items` in that order; a click runs
// `zoomTo` with the level's text and its item.
void addZoomLevels(const CommandItems& item, QMenu* zoom, const std::array<QAction**, 5>& items,
                   const std::function<void(const char* text, QAction* item)>& zoomTo);

// The "Values" frame of the read-out: X, Y, Wavelength, Intensity and Greyscale, each caption
// followed by its right-aligned value label, stored through `values` in that order.
QGroupBox* addValuesFrame(QWidget* parent, const std::array<QLabel**, 5>& values);

// Removes the check marks of the zoom items.
void ClearZoomChecks(std::initializer_list<QAction*> items);

// Shows each region's rectangle while its region is on and an image is shown, placed over its
// pixels.
void DrawRoIRectangles(PictureView& view, const RoIRecord& roi, bool imageShown);

}  // namespace kestrova
