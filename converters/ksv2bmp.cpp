// ksv2bmp: a KSV file into a 32-bit grey bitmap, rows bottom-up (KSV row 0 is the bottom row).
// Values are shifted so that a negative minimum becomes 0 and scaled down to 255 when the shifted
// maximum does not fit a byte; the low 8 bits of the truncated result are the grey level.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "BmpFormat.h"
#include "ConverterEntryPoints.h"
#include "ConverterFrame.h"
#include "ExitCodes.h"
#include "KsvStrips.h"

namespace {

using namespace ksv;
using namespace ksv::bmp;

// grey = (shift + v) * num / den.
struct GreyMapping {
    std::int64_t intShift = 0;
    std::int64_t intNum = 1;
    std::int64_t intDen = 1;
    double floatShift = 0;
    double floatNum = 1;
    double floatDen = 1;
};

GreyMapping chooseMapping(const KsvHeader& header)
{
    GreyMapping m;
    if (header.isFloat()) {
        m.floatShift = rangeShift(header);
        const double top = m.floatShift + header.floatMax;
        if (top > 255) {
            m.floatNum = 255;
            m.floatDen = top;
        }
    } else {
        m.intShift = static_cast<std::int64_t>(rangeShift(header));
        const std::int64_t top = m.intShift + header.intMax;
        if (top >= 256) {
            m.intNum = 255;
            m.intDen = top;
        }
    }
    return m;
}

// Integer products stay far inside 64 bits: |shift + v| < 2^33 and num <= 255.
unsigned char intGrey(const GreyMapping& m, std::int32_t v)
{
    const std::int64_t scaled = (m.intShift + v) * m.intNum / m.intDen;
    return static_cast<unsigned char>(static_cast<std::uint64_t>(scaled));
}

unsigned char floatGrey(const GreyMapping& m, float v)
{
    return static_cast<unsigned char>(
        static_cast<std::uint64_t>(truncatedValue((m.floatShift + static_cast<double>(v)) * m.floatNum / m.floatDen)));
}

void writeHeaders(std::FILE* out, const KsvHeader& header, std::uint32_t imageBytes)
{
    unsigned char fileHeader[kFileHeaderBytes] = {};
    putU16(fileHeader, kSignature);
    putU32(fileHeader + kFileSizeField, imageBytes + kHeadersBytes);
    putU32(fileHeader + kPixelOffsetField, kHeadersBytes);
    if (std::fwrite(fileHeader, 1, sizeof fileHeader, out) != sizeof fileHeader)
        fail(BmpFileHeaderWrite);

    unsigned char info[kInfoHeaderBytes] = {};
    putU32(info + kHeaderSizeField, kInfoHeaderBytes);
    putU32(info + kWidthField, static_cast<std::uint32_t>(header.width));
    putU32(info + kHeightField, static_cast<std::uint32_t>(header.height));
    putU16(info + kPlanesField, 1);
    putU16(info + kBitsPerPixelField, 32);
    putU32(info + kCompressionField, Uncompressed);
    putU32(info + kImageSizeField, imageBytes);
    if (std::fwrite(info, 1, sizeof info, out) != sizeof info)
        fail(BmpInfoHeaderWrite);
}

void convert(ConverterRun& run)
{
    KsvStripReader ksv(run);
    const KsvHeader& header = ksv.header();
    const GreyMapping m = chooseMapping(header);

    // The headers hold the sizes in 32 bits: a larger bitmap cannot be described.
    const std::uint64_t imageBytes = header.pixelCount() * 4;
    if (imageBytes > std::numeric_limits<std::uint32_t>::max() - kHeadersBytes)
        fail(BmpInfoHeaderWrite);

    std::FILE* out = run.createOutput(BmpOutputOpen, BmpOutputClose);
    writeHeaders(out, header, static_cast<std::uint32_t>(imageBytes));

    ksv.start(BmpOutputMemory);
    const std::size_t stripValueCount = stripValues(header.width, header.height);
    if (stripValueCount > kMaxBufferBytes / 4)
        fail(BmpOutputMemory);
    const auto pixels = run.allocate<unsigned char>(stripValueCount * 4, BmpOutputMemory);

    // Four bytes a pixel: rows need no padding.
    ksv.convertStrips(out, pixels.get(), 4, BmpWrite, [&](std::size_t count) {
        unsigned char* p = pixels.get();
        for (std::size_t i = 0; i < count; ++i, p += 4) {
            const unsigned char g =
                header.isFloat() ? floatGrey(m, ksv.floatStrip()[i]) : intGrey(m, ksv.intStrip()[i]);
            p[0] = g;
            p[1] = g;
            p[2] = g;
            p[3] = 0;
        }
    });
}

}  // namespace

int converters::ksv2bmp(int argc, char** argv)
{
    return ksv::runConverter(ksv::ConverterKind::FromKsv, argc, argv, convert);
}

#ifndef KESTROVA_CONVERTER_LIBRARY
int main(int argc, char** argv)
{
    return converters::ksv2bmp(argc, argv);
}
#endif
