#pragma once

// The display thresholds and the display inversion.

#include <cstdint>
#include <string>

namespace kestrova {

struct ThresholdSide {
    bool on = true;
    std::string percentText = "0.02";
    float percent = 0.02f;
    std::string valueText;
    std::int32_t intValue = 0;
    float floatValue = 0.0f;
};

struct DisplayThresholds {
    ThresholdSide lower;
    ThresholdSide upper;
};

struct DisplayInversion {
    bool invertDisplay = false;        // the main window's "In&vert Display"
    bool invertIntensity = false;      // the Analysis menu's intensity inversion
    bool regionInvertDisplay = false;  // the region display window's "In&vert Display"
    bool effectiveInvert() const { return invertDisplay != invertIntensity; }
};

}  // namespace kestrova
