#pragma once

// The parts of the Windows bitmap format that bmp2ksv and ksv2bmp share: header sizes, field
// offsets, the compression codes and little-endian field access.

#include <cstddef>
#include <cstdint>

namespace ksv::bmp {

inline constexpr std::size_t kFileHeaderBytes = 14;
inline constexpr std::size_t kInfoHeaderBytes = 40;
inline constexpr std::uint32_t kHeadersBytes = kFileHeaderBytes + kInfoHeaderBytes;
inline constexpr std::uint16_t kSignature = 0x4D42;  // "BM"

// Field offsets in the file header.
inline constexpr std::size_t kFileSizeField = 2;
inline constexpr std::size_t kPixelOffsetField = 10;

// Field offsets in the information header.
inline constexpr std::size_t kHeaderSizeField = 0;
inline constexpr std::size_t kWidthField = 4;
inline constexpr std::size_t kHeightField = 8;
inline constexpr std::size_t kPlanesField = 12;
inline constexpr std::size_t kBitsPerPixelField = 14;
inline constexpr std::size_t kCompressionField = 16;
inline constexpr std::size_t kImageSizeField = 20;
inline constexpr std::size_t kColoursUsedField = 32;

enum Compression : std::uint32_t { Uncompressed = 0, BitFields = 3 };

inline std::uint16_t getU16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t getU32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline std::int32_t getI32(const unsigned char* p)
{
    return static_cast<std::int32_t>(getU32(p));
}

inline void putU16(unsigned char* p, std::uint16_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

inline void putU32(unsigned char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Bytes of one stored row: the pixels rounded up to a multiple of 4.
inline std::uint64_t rowStride(std::uint64_t width, unsigned bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// The grey level of a blue, green, red triple.
inline unsigned char greyOf(unsigned blue, unsigned green, unsigned red)
{
    return static_cast<unsigned char>((blue + green + red + 1) / 3);
}

}  // namespace ksv::bmp
