#pragma once

// The zoom step that paints the full-size display picture into the visible picture box.

#include <string>

namespace kestrova {

class frmMainMenufrm;

// Applies the zoom per-cent given as text: sizes picBox2 to picBox3's picture times the zoom
// factor, stretches the picture into it and gives it the image's pixel coordinates; then lays
// the window out and redraws the region rectangles. False (with "Error -  image cannot be
// enlarged") when the picture would exceed the scroll range; true, and only the layout, while
// no image is open. Does not change the zoom text.
bool ApplyZoom(frmMainMenufrm& window, const std::string& text);

}  // namespace kestrova
