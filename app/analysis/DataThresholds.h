#pragma once

// Lower and upper data thresholds that decide which pixels the analyses count.

#include <cstdint>
#include <string>

namespace kestrova {

struct DataThresholdSide {
    bool on = false;
    std::string text;
    std::int32_t intValue = 0;
    float floatValue = 0.0f;
};

struct DataThresholds {
    DataThresholdSide lower;
    DataThresholdSide upper;
};

}  // namespace kestrova
