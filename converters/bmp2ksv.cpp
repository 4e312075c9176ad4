// bmp2ksv: an uncompressed Windows bitmap into a grey KSV image (data type code 8).
//
// Read: 24- and 32-bit pixels, 32-bit bit fields with the standard blue, green and red bytes,
// and 8-bit palette indices; rows stored bottom-up or top-down. KSV row 0 is always the
// picture's bottom row. Everything else is refused before the KSV file is created.

#include <array>
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

// The masks of 32-bit bit fields that are read like plain 32-bit pixels.
constexpr std::uint32_t kRedMask = 0x00FF0000;
constexpr std::uint32_t kGreenMask = 0x0000FF00;
constexpr std::uint32_t kBlueMask = 0x000000FF;

struct BmpLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;  // rows, always positive
    bool topDown = false;
    unsigned bytesPerPixel = 0;
    std::uint64_t stride = 0;
    std::uint64_t pixelOffset = 0;
    std::array<unsigned char, 256> paletteGrey{};  // 8-bit pixels; indices past the palette are black
};

bool seekTo(std::FILE* in, std::uint64_t offset)
{
    return offset <= static_cast<std::uint64_t>(std::numeric_limits<long>::max()) &&
           std::fseek(in, static_cast<long>(offset), SEEK_SET) == 0;
}

void readExactly(std::FILE* in, unsigned char* bytes, std::size_t count, int code)
{
    if (std::fread(bytes, 1, count, in) != count)
        fail(code);
}

// The three masks, read from byte 54 of the file.
void checkBitFields(std::FILE* in)
{
    unsigned char masks[12];
    readExactly(in, masks, sizeof masks, BmpInfoHeaderRead);
    if (getU32(masks) != kRedMask || getU32(masks + 4) != kGreenMask || getU32(masks + 8) != kBlueMask)
        fail(BmpInfoHeaderRead);
}

// Reads the palette that follows the information header; returns its size in bytes.
std::uint64_t readPalette(std::FILE* in, std::uint64_t start, std::uint32_t coloursUsed, BmpLayout& layout)
{
    const std::uint32_t colours = coloursUsed == 0 ? 256 : coloursUsed;
    if (colours > 256)
        fail(BmpInfoHeaderRead);
    if (!seekTo(in, start))
        fail(BmpInputSeek);
    unsigned char entries[256 * 4];
    readExactly(in, entries, colours * 4u, BmpInfoHeaderRead);
    for (std::uint32_t i = 0; i < colours; ++i)
        layout.paletteGrey[i] = greyOf(entries[4 * i], entries[4 * i + 1], entries[4 * i + 2]);
    return colours * 4u;
}

BmpLayout readHeaders(std::FILE* in)
{
    unsigned char fileHeader[kFileHeaderBytes];
    readExactly(in, fileHeader, sizeof fileHeader, BmpFileHeaderRead);
    unsigned char info[kInfoHeaderBytes];
    readExactly(in, info, sizeof info, BmpInfoHeaderRead);

    // Smaller (older) information headers have other fields at these places.
    const std::uint32_t infoSize = getU32(info + kHeaderSizeField);
    if (infoSize < kInfoHeaderBytes)
        fail(BmpInfoHeaderRead);

    BmpLayout layout;
    const std::int32_t width = getI32(info + kWidthField);
    const std::int32_t height = getI32(info + kHeightField);
    if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min())
        fail(BmpInfoHeaderRead);
    layout.width = width;
    layout.topDown = height < 0;
    layout.height = height < 0 ? -height : height;

    const unsigned bitsPerPixel = getU16(info + kBitsPerPixelField);
    const std::uint32_t compression = getU32(info + kCompressionField);
    std::uint64_t headersEnd = kFileHeaderBytes + static_cast<std::uint64_t>(infoSize);
    if (bitsPerPixel == 24 && compression == Uncompressed) {
        layout.bytesPerPixel = 3;
    } else if (bitsPerPixel == 32 && (compression == Uncompressed || compression == BitFields)) {
        layout.bytesPerPixel = 4;
        if (compression == BitFields) {
            // The masks follow a 40-byte header or lie inside a header of at least 52 bytes.
            if (infoSize > kInfoHeaderBytes && infoSize < kInfoHeaderBytes + 12)
                fail(BmpInfoHeaderRead);
            checkBitFields(in);
            if (infoSize == kInfoHeaderBytes)
                headersEnd += 12;
        }
    } else if (bitsPerPixel == 8 && compression == Uncompressed) {
        layout.bytesPerPixel = 1;
        headersEnd += readPalette(in, headersEnd, getU32(info + kColoursUsedField), layout);
    } else {
        fail(BmpInfoHeaderRead);
    }

    // The pixels lie after the headers and inside the file, and the file holds every row.
    layout.pixelOffset = getU32(fileHeader + kPixelOffsetField);
    layout.stride = rowStride(static_cast<std::uint64_t>(layout.width), bitsPerPixel);
    const std::uint64_t rasterBytes = layout.stride * static_cast<std::uint64_t>(layout.height);
    const long long fileSize = regularFileSize(in);
    if (layout.pixelOffset < headersEnd)
        fail(BmpInputSeek);
    if (fileSize >= 0) {
        const auto size = static_cast<std::uint64_t>(fileSize);
        if (layout.pixelOffset > size)
            fail(BmpInputSeek);
        if (rasterBytes > size - layout.pixelOffset)
            fail(BmpRead);
    }
    return layout;
}

// One stored row into grey values.
void greyRow(const BmpLayout& layout, const unsigned char* row, std::int32_t* grey)
{
    const std::int32_t width = layout.width;
    switch (layout.bytesPerPixel) {
    case 1:
        for (std::int32_t x = 0; x < width; ++x)
            grey[x] = layout.paletteGrey[row[x]];
        break;
    case 3:
        for (std::int32_t x = 0; x < width; ++x, row += 3)
            grey[x] = greyOf(row[0], row[1], row[2]);
        break;
    default:
        for (std::int32_t x = 0; x < width; ++x, row += 4)
            grey[x] = greyOf(row[0], row[1], row[2]);
        break;
    }
}

void convert(ConverterRun& run)
{
    std::FILE* in = run.openInput(run.inputPath(), BmpInputOpen, BmpInputClose);
    const BmpLayout layout = readHeaders(in);
    if (!seekTo(in, layout.pixelOffset))
        fail(BmpInputSeek);

    const auto dataType = static_cast<std::int16_t>(KsvDataType::UnsignedByte);
    KsvStripWriter ksv(run, dataType, layout.width, layout.height, BmpBufferMemory);
    const std::int32_t stripRows = layout.height < kStripRows ? layout.height : kStripRows;
    const auto stored = run.allocate<unsigned char>(
        static_cast<std::size_t>(layout.stride) * static_cast<std::size_t>(stripRows), BmpBufferMemory);

    forEachStrip(layout.height, [&](std::int32_t row, int rows) {
        // A top-down file holds the picture's bottom rows last: each strip is read from its place.
        if (layout.topDown) {
            const auto firstStored = static_cast<std::uint64_t>(layout.height - row - rows);
            if (!seekTo(in, layout.pixelOffset + firstStored * layout.stride))
                fail(BmpInputSeek);
        }
        const std::size_t bytes = static_cast<std::size_t>(layout.stride) * static_cast<std::size_t>(rows);
        if (std::fread(stored.get(), 1, bytes, in) != bytes)
            fail(BmpRead);
        for (int k = 0; k < rows; ++k) {
            const int storedRow = layout.topDown ? rows - 1 - k : k;
            greyRow(layout, stored.get() + static_cast<std::size_t>(storedRow) * layout.stride,
                    ksv.intStrip() + static_cast<std::size_t>(k) * static_cast<std::size_t>(layout.width));
        }
        ksv.writeStrip(rows);
    });
    ksv.finish();
}

}  // namespace

int converters::bmp2ksv(int argc, char** argv)
{
    return ksv::runConverter(ksv::ConverterKind::ToKsv, argc, argv, convert);
}

#ifndef KESTROVA_CONVERTER_LIBRARY
int main(int argc, char** argv)
{
    return converters::bmp2ksv(argc, argv);
}
#endif
