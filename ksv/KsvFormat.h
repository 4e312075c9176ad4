#pragma once

// The KSV raw image format: a short text header padded with zeros to 256 bytes,
// then width x height little-endian 4-byte pixels, row 0 first, no row padding.

#include <bit>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

static_assert(std::endian::native == std::endian::little,
              "the KSV pixel block is read and written in the machine's byte order");

namespace ksv {

// The FITS equivalent image types. A code of 0 or less means float pixels.
enum class KsvDataType : std::int16_t {
    UnsignedByte = 8,
    SignedByte = 10,
    SignedInt16 = 16,
    UnsignedInt16 = 20,
    SignedInt32 = 32,
    UnsignedInt32 = 40,
    SignedInt64 = 64,
    SinglePrecision = -32,
    DoublePrecision = -64,
};

inline constexpr long kPixelOffset = 256;
inline constexpr int kStripRows = 32;
inline constexpr int kBytesPerPixel = 4;

constexpr bool isFloatCode(int code)
{
    return code <= 0;
}

struct KsvHeader {
    std::int16_t dataType = static_cast<std::int16_t>(KsvDataType::UnsignedByte);
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t intMin = 0;
    std::int32_t intMax = 0;
    float floatMin = 0.0f;
    float floatMax = 0.0f;

    bool isFloat() const { return isFloatCode(dataType); }
    std::uint64_t pixelCount() const;
    // Bytes of the pixel block; 0 when width or height is not positive.
    std::uint64_t pixelBytes() const;
    // Length of the whole file: 256 + pixel block.
    std::uint64_t fileBytes() const;
};

// The header text exactly as written: "KSV V000\r %d\r %d\r %d\r %d\r %d\r", with
// "%f" for the minimum and maximum of float images (always a decimal point), except that a
// nonzero one below 0.001 in magnitude is written as "%.6E" gives it ("1.234568E-30").
std::string headerText(const KsvHeader& header);

// Writes the header text at offset 0. False when positioning or the write fails.
bool writeHeader(std::FILE* file, const KsvHeader& header);

// Parses a header from the first bytes of a file. Requires the magic "KSV V" in the first
// (at most 8 character) line, then five fields separated by blanks, CR or LF; a float minimum
// or maximum in fixed or exponent form. Rejects a width or height that is not positive, a code
// outside 16 bits, and a float minimum or maximum that is not a finite number.
std::optional<KsvHeader> parseHeader(const char* bytes, std::size_t length);

// Reads and parses the header at offset 0 of an open file.
std::optional<KsvHeader> readHeader(std::FILE* file);

// Positions the file at the first pixel (byte 256).
bool seekToPixels(std::FILE* file);

// Reads or writes `rows` rows of `width` 4-byte values at the current position.
bool readRows(std::FILE* file, void* values, std::int32_t width, int rows);
bool writeRows(std::FILE* file, const void* values, std::int32_t width, int rows);

// Calls visit(firstRow, rows) for each full strip of 32 rows, then for the last height mod 32 rows.
template <typename Visit>
void forEachStrip(std::int32_t height, Visit&& visit)
{
    std::int32_t row = 0;
    for (; height - row >= kStripRows; row += kStripRows)
        visit(row, kStripRows);
    if (row < height)
        visit(row, static_cast<int>(height - row));
}

}  // namespace ksv
