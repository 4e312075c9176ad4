#pragma once

// The spectral calibration: "SpecCal.txt" beside the image holds one line
// "a, c1[, c2[, c3[, c4]]]" giving the wavelength of column x (1-based) as
// a + c1*x + c2*x^2 + c3*x^3 + c4*x^4.

#include <cstdint>
#include <string>

#include "Calibration.h"
#include "Messages.h"

namespace kestrova {

inline constexpr const char* kCalibrationFileName = "SpecCal.txt";

// Reads the calibration file at `path` for an image `width` columns wide. A missing or empty
// file leaves the calibration unloaded without a message; a malformed one leaves it unloaded
// with a message. On success calibrationLoaded and WavelengthUnits are true and wavelengths
// holds `width` entries.
void ReadCalibration(Calibration& calibration, const std::string& path, std::int32_t width, Messages& messages);

// lambda(x), evaluated in double precision in the file's order, as a 32-bit float.
float wavelengthOf(const Calibration& calibration, std::int32_t column);

}  // namespace kestrova
