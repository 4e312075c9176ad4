#pragma once

// The region display window's records: its grey-mapping thresholds, zoom, inversion and the
// picture of the region.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrova {

// Low and high grey-mapping thresholds of the region, in the region's pixel class.
struct RegionDisplayThresholds {
    std::int32_t intLow = 0;
    std::int32_t intHigh = 0;
    float floatLow = 0.0f;
    float floatHigh = 0.0f;
    std::string lowText;  // the computed low and high values, also when a side is Off
    std::string highText;
};

struct RegionDisplayState {
    std::string regionZoomText = "100";
    float regionBaseScale = 1.0f;  // 512 / max(region width, region height)
    bool invertAtOpen = false;     // the invert-intensity flag when the window opened
    RegionDisplayThresholds thresholds;
    std::vector<std::uint8_t> buffer;  // 4 bytes a region pixel, rows from the region's bottom
};

}  // namespace kestrova
