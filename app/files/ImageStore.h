#pragma once

// The one loaded image and the texts derived from it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrova {

// Largest image the program holds: 6144 x 4096 pixels.
inline constexpr std::int64_t kMaxImagePixels = 25165824;

// A 40-byte bitmap information header describing a 32-bit bottom-up picture.
struct BitmapInfoHeader {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t imageSize = 0;  // width * 4 * height

    static BitmapInfoHeader forPicture(std::int32_t width, std::int32_t height);
    std::array<unsigned char, 40> bytes() const;
};

struct ImageStore {
    std::int32_t width = 6144;
    std::int32_t height = 4096;
    std::int16_t dataType = 8;
    bool isFloat = false;
    std::vector<std::int32_t> intPixels;  // row-major, row 0 first (shown at the bottom)
    std::vector<float> floatPixels;
    std::int32_t intMin = 0;
    std::int32_t intMax = 0;
    float floatMin = 0.0f;
    float floatMax = 0.0f;
    bool thresholdsAllowed = false;
    bool analysisAllowed = false;
    std::string imageFolder;  // up to and including the last '/'
    std::string imageBaseName = "File name: ";
    std::string imageExtension = ".ext";  // lower case, dot included
    std::string dataTypeName;
    std::string valueFormat;
    std::string minText;
    std::string maxText;
    BitmapInfoHeader dibHeader;

    std::int64_t pixelCount() const { return static_cast<std::int64_t>(width) * height; }
};

}  // namespace kestrova
