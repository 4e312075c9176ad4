#pragma once

// The two regions of interest and the analysis region built from them.

#include <cstdint>
#include <vector>

#include "ImageStore.h"

namespace kestrova {

// 1-based inclusive corners; rows count from the bottom of the picture. Held in 32 bits so that
// an image side beyond 32767 pixels (a long line-scan frame) is not cut short.
struct RoIRect {
    std::int32_t BottomLeftX = 1;
    std::int32_t BottomLeftY = 1;
    std::int32_t TopRightX = 1;
    std::int32_t TopRightY = 1;

    static RoIRect whole(std::int32_t width, std::int32_t height);
    friend bool operator==(const RoIRect&, const RoIRect&) = default;
};

struct RoIRecord {
    bool RoI1On = false;
    RoIRect RoI1;
    RoIRect RoI1Shown;
    bool RoI2On = false;
    RoIRect RoI2;
    RoIRect RoI2Shown;
    bool Subtract = true;
    bool Mean = true;
    std::int32_t RegionWidth = 6144;
    std::int32_t RegionHeight = 4096;
    bool RoI2Placement = false;  // the next left click places region 2
};

// The main picture's mouse gesture in progress (see roiMousePress and the functions after it).
enum class RoIMouseButton { Left, Other };
struct RoIMouse {
    bool pressed = false;   // a button went down on the picture
    bool dragging = false;  // that press started a new RoI1
    std::int32_t anchorX = 1;
    std::int32_t anchorY = 1;
};

struct ResultFlags {
    bool regionBuilt = false;
    bool spectrumComputed = false;
    bool profileComputed = false;
    bool histogramComputed = false;
    bool centroidXComputed = false;
    bool centroidYComputed = false;

    void clearAll() { *this = ResultFlags{}; }
};

struct RegionArray {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::int32_t> intPixels;
    std::vector<float> floatPixels;
    std::int32_t intMin = 0;
    std::int32_t intMax = 0;
    float floatMin = 0.0f;
    float floatMax = 0.0f;
    bool HasRange = false;
    BitmapInfoHeader header;
    // The rectangles the region was built from (ordered and clamped to the image). Everything
    // downstream reads these, never the live fields of RoIRecord.
    RoIRect builtRoI1;
    RoIRect builtRoI2;
    bool builtRoI2On = false;
    bool builtSubtract = true;
};

// Resets the regions to the whole image, both off, as after loading an image.
void resetRegions(RoIRecord& roi, ResultFlags& flags, std::int32_t width, std::int32_t height);

}  // namespace kestrova
