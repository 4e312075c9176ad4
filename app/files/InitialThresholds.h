#pragma once

// Display thresholds, as percentages, applied to every newly opened image.

#include <string>

namespace kestrova {

struct InitialThresholds {
    bool lowerOn = true;
    std::string lowerText = "0.02";
    float lowerPercent = 0.02f;
    bool upperOn = true;
    std::string upperText = "0.02";
    float upperPercent = 0.02f;
};

}  // namespace kestrova
