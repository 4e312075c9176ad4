#pragma once

// Small images and their analysis regions, built by hand for the analysis tests.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "ProgramState.h"

namespace analysisframes {

// An image from its values in store order (row 1, the bottom row, first).
inline kestrova::ImageStore intImage(std::int32_t width, std::int32_t height, std::vector<std::int32_t> values)
{
    kestrova::ImageStore image;
    image.width = width;
    image.height = height;
    image.isFloat = false;
    image.dataType = 32;
    image.intPixels = std::move(values);
    return image;
}

inline kestrova::ImageStore floatImage(std::int32_t width, std::int32_t height, std::vector<float> values)
{
    kestrova::ImageStore image;
    image.width = width;
    image.height = height;
    image.isFloat = true;
    image.dataType = -32;
    image.floatPixels = std::move(values);
    return image;
}

// The region of rectangle `roi1`, alone or with the rows of region 2 starting at `roi2Bottom`
// added or subtracted.
inline kestrova::RegionArray regionOf(const kestrova::ImageStore& image, kestrova::RoIRect roi1,
                                      std::int32_t roi2Bottom = 0, bool subtract = true)
{
    kestrova::RegionArray region;
    region.width = roi1.TopRightX - roi1.BottomLeftX + 1;
    region.height = roi1.TopRightY - roi1.BottomLeftY + 1;
    region.builtRoI1 = roi1;
    region.builtRoI2On = roi2Bottom > 0;
    region.builtSubtract = subtract;
    const std::int32_t d = roi2Bottom > 0 ? roi2Bottom - roi1.BottomLeftY : 0;
    bool firstValue = true;
    for (std::int32_t y = roi1.BottomLeftY; y <= roi1.TopRightY; ++y)
        for (std::int32_t x = roi1.BottomLeftX; x <= roi1.TopRightX; ++x) {
            const auto at = [&](std::int32_t row) { return static_cast<std::size_t>((row - 1) * image.width + x - 1); };
            const double sign = subtract ? -1.0 : 1.0;
            if (image.isFloat) {
                float v = image.floatPixels[at(y)];
                if (region.builtRoI2On)
                    v = v + static_cast<float>(sign) * image.floatPixels[at(y + d)];
                region.floatPixels.push_back(v);
                region.floatMin = firstValue ? v : std::min(region.floatMin, v);
                region.floatMax = firstValue ? v : std::max(region.floatMax, v);
            } else {
                std::int32_t v = image.intPixels[at(y)];
                if (region.builtRoI2On)
                    v = subtract ? v - image.intPixels[at(y + d)] : v + image.intPixels[at(y + d)];
                region.intPixels.push_back(v);
                region.intMin = firstValue ? v : std::min(region.intMin, v);
                region.intMax = firstValue ? v : std::max(region.intMax, v);
            }
            firstValue = false;
        }
    region.HasRange = image.isFloat ? region.floatMin != region.floatMax : region.intMin != region.intMax;
    return region;
}

// The 4 x 3 image whose rows are 1 2 3 4 / 2 2 2 2 / 2 5 0 7.
inline kestrova::ImageStore fourByThree()
{
    return intImage(4, 3, {1, 2, 3, 4, 2, 2, 2, 2, 2, 5, 0, 7});
}

}  // namespace analysisframes
