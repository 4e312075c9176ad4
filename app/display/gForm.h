#pragma once

// The main window's layout, its file-name caption, the zoom check marks and the region
// rectangles.

namespace kestrova {

class frmMainMenufrm;

// Places the viewport, the picture, the scroll bars, the caption and the values frame for the
// window's current inner size. Does nothing while the window is too small.
void LayoutMainWindow(frmMainMenufrm& window);

// "File name: " + base name + extension, and "   Display Thresholds: On" when a display
// threshold is on.
void UpdateFileNameCaption(frmMainMenufrm& window);

// Removes the check marks of the ten zoom items.
void ClearZoomChecks(frmMainMenufrm& window);

// Shows each region's rectangle while its region is on, placed over its pixels.
void DrawRoIRectangles(frmMainMenufrm& window);

}  // namespace kestrova
