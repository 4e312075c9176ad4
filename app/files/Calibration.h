#pragma once

// The wavelength of every column, from the polynomial in "SpecCal.txt" beside the image.

#include <array>
#include <vector>

namespace kestrova {

struct Calibration {
    bool calibrationLoaded = false;
    bool WavelengthUnits = false;  // windows show wavelengths (true) or pixel columns
    float offset = 0.0f;
    std::array<float, 4> coefficients{1.0f, 0.0f, 0.0f, 0.0f};
    std::vector<float> wavelengths;  // column x (1-based) at x - 1; one entry per image column
};

}  // namespace kestrova
