#include "gFormOrg.h"

#include "ZoomState.h"

namespace kestrova {

bool ApplyZoom(PictureView& view, MainWindowState state, const ZoomState& zoom, std::int32_t width, std::int32_t height,
               const std::string& text, const std::function<void()>& layout, ZoomAnchor anchor)
{
    if (state != MainWindowState::Image) {
        layout();
        return true;
    }
    return view.applyZoom(text, zoom.baseScale, width, height, layout, anchor);
}

}  // namespace kestrova
