#pragma once

// The main window's read-out of the pixel under the mouse, as the texts its labels show.

#include <cstdint>
#include <string>

#include "ProgramState.h"

namespace kestrova {

inline constexpr const char* kBelowThresholdText = "< T' hold";
inline constexpr const char* kAboveThresholdText = "> T' hold";

struct ReadOut {
    std::string column;      // lblvalX, "###0"
    std::string row;         // lblvalY, "###0"
    std::string wavelength;  // lblvalW, "###0.0"; empty without a calibration
    std::string intensity;   // lblvalI, the image's value format
    std::string grey;        // lblvalG: "##0", or "< T' hold" / "> T' hold"
};

// Texts for the pixel at column 1..width, row 1..height (rows from the bottom) of the loaded
// image. The grey level is the display mapping's, without the display inversion.
ReadOut readOutAt(const ProgramState& state, std::int32_t column, std::int32_t row);

}  // namespace kestrova
