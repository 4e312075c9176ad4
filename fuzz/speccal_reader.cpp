// Fuzzes the reading of the spectral calibration file "SpecCal.txt".

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "gFileCal.h"

namespace {

// Wider than the 6144 columns the table once had, so that every column is computed.
constexpr std::int32_t kImageWidth = 6200;

bool isCalibrationMessage(const std::string& text)
{
    return text == "Error - format error (unexpected character(s) in calibration file (SpecCal.txt)" ||
           text == "Error - format error (incorrect number of commas in calibration file (SpecCal.txt)" ||
           text == "Error - format error (non numeric characters in calibration file (SpecCal.txt)";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using fuzzing::require;
    const std::string path = fuzzing::scratchFile(kestrova::kCalibrationFileName);
    fuzzing::writeFile(path, data, size);

    kestrova::Calibration calibration;
    calibration.calibrationLoaded = true;  // a previous image's calibration
    calibration.wavelengths.assign(10, 1.0f);
    kestrova::Messages messages;
    kestrova::ReadCalibration(calibration, path, kImageWidth, messages);

    require(calibration.calibrationLoaded == calibration.WavelengthUnits, "the two calibration flags disagree");
    require(messages.size() <= 1, "more than one message for one calibration file");
    if (!messages.empty())
        require(isCalibrationMessage(messages.front()), "an unknown calibration message");
    if (calibration.calibrationLoaded) {
        require(messages.empty(), "a calibration loaded with a message");
        require(calibration.wavelengths.size() == static_cast<std::size_t>(kImageWidth),
                "the wavelength table does not cover the image");
        require(calibration.wavelengths[0] == kestrova::wavelengthOf(calibration, 1), "column 1's wavelength");
    }
    // The first line up to its line end (CR or LF) holds the only allowed characters of a loaded file.
    if (calibration.calibrationLoaded) {
        for (std::size_t i = 0; i < size && data[i] != '\r' && data[i] != '\n'; ++i) {
            const char c = static_cast<char>(data[i]);
            require((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'E' || c == ' ' || c == ',',
                    "a calibration with an unexpected character was loaded");
        }
    }
    return 0;
}
