#pragma once

// Small synthetic images loaded into the state as an opened file would be.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "ProgramState.h"
#include "gFileOrg.h"

// w x h pixels, row 0 (the bottom row) first; prepared as after File Open.
inline void loadImage(kestrova::ProgramState& state, std::int32_t w, std::int32_t h, std::vector<std::int32_t> pixels,
                      std::int16_t dataType = 32)
{
    kestrova::ImageStore& image = state.image;
    image.width = w;
    image.height = h;
    image.dataType = dataType;
    image.isFloat = false;
    image.intMin = *std::min_element(pixels.begin(), pixels.end());
    image.intMax = *std::max_element(pixels.begin(), pixels.end());
    image.intPixels = std::move(pixels);
    image.floatPixels.clear();
    kestrova::Messages messages;
    kestrova::PrepareLoadedImage(state, messages);
}

inline void loadFloatImage(kestrova::ProgramState& state, std::int32_t w, std::int32_t h, std::vector<float> pixels)
{
    kestrova::ImageStore& image = state.image;
    image.width = w;
    image.height = h;
    image.dataType = -32;
    image.isFloat = true;
    image.floatMin = INFINITY;
    image.floatMax = -INFINITY;
    for (const float v : pixels)
        if (std::isfinite(v)) {
            image.floatMin = std::min(image.floatMin, v);
            image.floatMax = std::max(image.floatMax, v);
        }
    image.floatPixels = std::move(pixels);
    image.intPixels.clear();
    kestrova::Messages messages;
    kestrova::PrepareLoadedImage(state, messages);
}
