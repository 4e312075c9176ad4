#pragma once

// The main window's zoom.

#include <string>

namespace kestrova {

struct ZoomState {
    std::string zoomText = "100";         // per cent, may hold decimals ("172.80")
    std::string regionZoomText = "100";   // the region display window's zoom
    float baseScale = 1024.0f / 6144.0f;  // 1024 / max(width, height)
};

}  // namespace kestrova
