// Fuzzes the KSV header and pixel block as the from-KSV converters read them: every input is
// converted in-process by each of the three from-KSV converters.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "ConverterEntryPoints.h"
#include "ConverterHarness.h"
#include "FuzzSupport.h"
#include "KsvFormat.h"

namespace {

// The input's header (the converters got this far only when it parsed).
ksv::KsvHeader headerOf(const std::string& input)
{
    const auto header = ksv::parseHeader(input.data(), input.size() < 256 ? input.size() : 256);
    fuzzing::require(header.has_value(), "a converter accepted a KSV header that does not parse");
    return *header;
}

// "P5", the comment line, the size, 255 or 65535, and exactly one raster of that depth.
bool pgmOutputIsSound(const std::string& input, const std::string& output)
{
    const ksv::KsvHeader header = headerOf(input);
    for (const long maxValue : {255L, 65535L}) {
        char text[256];
        std::snprintf(text, sizeof text,
                      "P5\n# Created by ksv2pgm (absolute NB if min < 0 shifted to range from 0)\n%ld %ld\n%ld\n",
                      static_cast<long>(header.width), static_cast<long>(header.height), maxValue);
        const std::string start = text;
        const std::uint64_t raster = header.pixelCount() * (maxValue == 255 ? 1 : 2);
        if (output.compare(0, start.size(), start) == 0 && output.size() == start.size() + raster)
            return true;
    }
    return false;
}

// "BM", the 54 header bytes and four bytes a pixel.
bool bmpOutputIsSound(const std::string& input, const std::string& output)
{
    const ksv::KsvHeader header = headerOf(input);
    return output.size() == 54 + header.pixelBytes() && output.compare(0, 2, "BM") == 0;
}

// A FITS file is whole blocks of 2880 bytes, beginning with the primary header.
bool fitsOutputIsSound(const std::string&, const std::string& output)
{
    return !output.empty() && output.size() % 2880 == 0 && output.compare(0, 9, "SIMPLE  =") == 0;
}

const fuzzing::Conversion kConversions[] = {
    {"ksv2pgm", converters::ksv2pgm, false, "in.ksv", "out.pgm", pgmOutputIsSound},
    {"ksv2bmp", converters::ksv2bmp, false, "in.ksv", "out.bmp", bmpOutputIsSound},
    {"ksv2fit", converters::ksv2fit, false, "in.ksv", "out.fits", fitsOutputIsSound},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // All three read the same input the same way: each fails with a code or converts.
    for (const auto& conversion : kConversions)
        fuzzing::runConversion(conversion, data, size);
    return 0;
}
