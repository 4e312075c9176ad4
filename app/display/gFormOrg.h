#pragma once

// The zoom step of the main window.

#include <functional>
#include <string>

#include "gDataLayout.h"
#include "gFormPictureView.h"

namespace kestrova {

struct ZoomState;

// Applies the zoom per-cent given as text to the view's full-size picture while an image is
// shown (see PictureView::applyZoom), then lays the window out through `layout`; without an
// image only the layout runs. False when refused. Does not change the zoom text.
bool ApplyZoom(PictureView& view, MainWindowState state, const ZoomState& zoom, std::int32_t width, std::int32_t height,
               const std::string& text, const std::function<void()>& layout, ZoomAnchor anchor = ZoomAnchor::centre());

}  // namespace kestrova
