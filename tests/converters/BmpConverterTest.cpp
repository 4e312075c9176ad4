#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"

using namespace testsupport;

namespace {

using Colour = std::array<int, 3>;  // blue, green, red

// Colour of pixel x of a row counted in file order.
Colour patternColour(int x, int storedRow)
{
    return {(x * 37 + storedRow * 11) & 255, (x * 5 + storedRow * 3 + 1) & 255, (x * 13 + storedRow * 7 + 2) & 255};
}

struct BmpSpec {
    int width = 1;
    int height = 1;  // negative: rows stored top-down
    int bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t infoSize = 40;
    std::vector<std::uint32_t> masks;    // right after the first 40 bytes of the information header
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::uint32_t coloursUsed = 0;
    long long pixelOffset = -1;  // -1: right after the headers
    std::size_t cut = 0;         // bytes cut off the end
    std::function<Colour(int, int)> colour = patternColour;
};

int paletteIndex(int x, int storedRow)
{
    return (x * 3 + storedRow) % 7;
}

Bytes makeBmp(const BmpSpec& s)
{
    const int rows = std::abs(s.height);
    const std::size_t stride = static_cast<std::size_t>((s.width * s.bitsPerPixel + 31) / 32 * 4);
    Bytes info;
    putU32(info, s.infoSize);
    putU32(info, static_cast<std::uint32_t>(s.width));
    putU32(info, static_cast<std::uint32_t>(s.height));
    putU16(info, 1);
    putU16(info, static_cast<std::uint16_t>(s.bitsPerPixel));
    putU32(info, s.compression);
    putU32(info, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(rows)));
    putU32(info, 2835);
    putU32(info, 2835);
    putU32(info, s.coloursUsed);
    putU32(info, 0);
    for (const auto m : s.masks)
        putU32(info, m);
    if (info.size() < s.infoSize && s.infoSize < 1024)
        info.resize(s.infoSize, 0);
    for (const auto p : s.palette)
        putU32(info, p);

    Bytes raster;
    for (int r = 0; r < rows; ++r) {
        for (int x = 0; x < s.width; ++x) {
            const Colour c = s.colour(x, r);
            if (s.bitsPerPixel == 8) {
                raster.push_back(static_cast<unsigned char>(paletteIndex(x, r)));
                continue;
            }
            raster.insert(raster.end(), {static_cast<unsigned char>(c[0]), static_cast<unsigned char>(c[1]),
                                         static_cast<unsigned char>(c[2])});
            if (s.bitsPerPixel == 32)
                raster.push_back(0xAB);  // never part of the grey level
        }
        raster.resize(static_cast<std::size_t>(r + 1) * stride, 0xEE);  // padding, never read as pixels
    }

    const auto offset = static_cast<std::uint32_t>(s.pixelOffset >= 0 ? s.pixelOffset : 14 + info.size());
    Bytes b = {'B', 'M'};
    putU32(b, static_cast<std::uint32_t>(14 + info.size() + raster.size()));
    putU32(b, 0);
    putU32(b, offset);
    b.insert(b.end(), info.begin(), info.end());
    if (b.size() < offset && s.pixelOffset < 4096)
        b.resize(offset, 0);
    b.insert(b.end(), raster.begin(), raster.end());
    b.resize(b.size() - s.cut);
    return b;
}

// A bitmap with one 32-bit field of its headers overwritten.
Bytes withField(Bytes b, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        b.at(offset + i) = static_cast<unsigned char>(value >> (8 * i));
    return b;
}

int grey(const Colour& c)
{
    return (c[0] + c[1] + c[2] + 1) / 3;
}

// KSV values of a bitmap: row 0 is the picture's bottom row.
std::vector<std::int32_t> expectedGrey(const BmpSpec& s)
{
    const int rows = std::abs(s.height);
    std::vector<std::int32_t> values;
    for (int k = 0; k < rows; ++k) {
        const int storedRow = s.height > 0 ? k : rows - 1 - k;
        for (int x = 0; x < s.width; ++x) {
            if (s.bitsPerPixel != 8) {
                values.push_back(grey(s.colour(x, storedRow)));
                continue;
            }
            const auto i = static_cast<std::size_t>(paletteIndex(x, storedRow));
            const std::uint32_t p = i < s.palette.size() ? s.palette[i] : 0;
            values.push_back(
                grey({static_cast<int>(p & 255), static_cast<int>(p >> 8 & 255), static_cast<int>(p >> 16 & 255)}));
        }
    }
    return values;
}

const std::vector<std::uint32_t> kPalette = {0x000000, 0xFFFFFF, 0x102030, 0x0000FF, 0x00FF00, 0x7F8081, 0x010100};
const std::vector<std::uint32_t> kStandardMasks = {0x00FF0000, 0x0000FF00, 0x000000FF};

RunResult toKsv(const std::string& in, const std::string& out)
{
    return run({program("bmp2ksv"), in, out, "x"});
}

RunResult fromKsv(const std::string& in, const std::string& out)
{
    return run({program("ksv2bmp"), in, out});
}

// Converts the bitmap of `s` and compares with the grey values it should give.
void expectConverted(const TempDir& dir, const BmpSpec& s)
{
    writeBytes(dir.file("in.bmp"), makeBmp(s));
    ASSERT_EQ(toKsv(dir.file("in.bmp"), dir.file("out.ksv")).exitCode, 0);
    const Bytes ksv = readBytes(dir.file("out.ksv"));
    const std::vector<std::int32_t> expected = expectedGrey(s);
    const auto [lo, hi] = std::minmax_element(expected.begin(), expected.end());
    EXPECT_EQ(ksvHeaderText(ksv), "KSV V000\r 8\r " + std::to_string(s.width) + "\r " +
                                      std::to_string(std::abs(s.height)) + "\r " + std::to_string(*lo) + "\r " +
                                      std::to_string(*hi) + "\r");
    EXPECT_EQ(ksvIntPixels(ksv), expected);
}

}  // namespace

TEST(Bmp2Ksv, EveryDepthPaddingStripBoundaryAndRowOrder)
{
    TempDir dir;
    for (const int bits : {24, 32, 8}) {
        for (int width = 1; width <= 5; ++width) {
            for (const int height : {1, 31, 32, 33, 64, -1, -31, -33, -65}) {
                SCOPED_TRACE(std::to_string(bits) + " bits, " + std::to_string(width) + " x " + std::to_string(height));
                BmpSpec s{width, height, bits};
                if (bits == 8) {
                    s.palette = kPalette;
                    s.coloursUsed = static_cast<std::uint32_t>(kPalette.size());
                }
                expectConverted(dir, s);
            }
        }
    }
}

TEST(Bmp2Ksv, GreyRuleAndPixelVariants)
{
    TempDir dir;
    // The grey rule on a row of chosen pixels.
    const Colour pixels[] = {{255, 255, 255}, {0, 0, 1}, {1, 1, 0}, {100, 50, 25}};
    BmpSpec row{4, 1};
    row.colour = [&](int x, int) { return pixels[x]; };
    writeBytes(dir.file("g.bmp"), makeBmp(row));
    ASSERT_EQ(toKsv(dir.file("g.bmp"), dir.file("g.ksv")).exitCode, 0);
    EXPECT_EQ(ksvIntPixels(readBytes(dir.file("g.ksv"))), (std::vector<std::int32_t>{255, 0, 1, 58}));

    // Standard bit fields after a 40-byte header or inside a longer one, a full palette without
    // a colour count, pixels placed further on by the offset: all read like the plain kinds.
    const BmpSpec variants[] = {
        {3, 33, 32, 3, 40, kStandardMasks},
        {3, -33, 32, 3, 108, kStandardMasks},
        {3, 5, 8, 0, 40, {}, std::vector<std::uint32_t>(256, 0x405060)},
        {3, 5, 8, 0, 124, {}, kPalette, static_cast<std::uint32_t>(kPalette.size())},
        {3, 5, 24, 0, 40, {}, {}, 0, 100},
        {2, 2, 8, 0, 40, {}, {0x0A0B0C, 0xFFFFFF}, 2},  // indices past the palette are black
    };
    for (const auto& s : variants) {
        SCOPED_TRACE(std::to_string(s.bitsPerPixel) + " bits, header " + std::to_string(s.infoSize));
        expectConverted(dir, s);
    }
}

TEST(Bmp2Ksv, RefusedAndMalformedBitmapsFailBeforeAnyOutput)
{
    TempDir dir;
    Bytes shortInfo = makeBmp({});
    shortInfo.resize(30);
    struct Case {
        const char* name;
        Bytes file;
        int code;
    };
    const Case cases[] = {
        {"1 bit", makeBmp({8, 2, 1}), 26},
        {"4 bits", makeBmp({8, 2, 4}), 26},
        {"16 bits", makeBmp({8, 2, 16}), 26},
        {"8-bit run lengths", makeBmp({4, 2, 8, 1, 40, {}, kPalette, 7}), 26},
        {"24-bit bit fields", makeBmp({4, 2, 24, 3, 40, kStandardMasks}), 26},
        {"32-bit other masks", makeBmp({4, 2, 32, 3, 40, {0xFF, 0xFF00, 0xFF0000}}), 26},
        {"32-bit 16-bit masks", makeBmp({4, 2, 32, 3, 40, {0xF800, 0x07E0, 0x001F}}), 26},
        {"24-bit JPEG", makeBmp({4, 2, 24, 4}), 26},
        {"core header", makeBmp({4, 2, 24, 0, 12}), 26},
        {"width 0", makeBmp({0, 2}), 26},
        {"width negative", withField(makeBmp({3, 2}), 18, static_cast<std::uint32_t>(-3)), 26},
        {"height 0", makeBmp({3, 0}), 26},
        {"palette over 256", makeBmp({4, 2, 8, 0, 40, {}, kPalette, 300}), 26},
        {"palette cut short", makeBmp({4, 2, 8, 0, 40, {}, {}, 0, 54}), 26},
        {"short info header", shortInfo, 26},
        {"short file header", Bytes{'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8}, 24},
        {"empty file", Bytes{}, 24},
        {"offset inside headers", makeBmp({4, 2, 24, 0, 40, {}, {}, 0, 20}), 30},
        {"offset past the end", makeBmp({4, 2, 24, 0, 40, {}, {}, 0, 1 << 30}), 30},
        {"raster one byte short", makeBmp({5, 33, 24, 0, 40, {}, {}, 0, -1, 1}), 28},
        {"absurd height", withField(makeBmp({4, 1}), 22, 1u << 30), 28},
        {"absurd width", withField(makeBmp({4, 1}), 18, 0x7FFFFFFF), 28},
        {"height of -2^31", withField(makeBmp({4, 1}), 22, 0x80000000), 26},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(dir.file("bad.bmp"), c.file);
        writeText(dir.file("keep.ksv"), "precious");
        const RunResult r = toKsv(dir.file("bad.bmp"), dir.file("keep.ksv"));
        EXPECT_EQ(r.exitCode, c.code);
        EXPECT_EQ(r.standardError.substr(0, 8), "Error - ");
        EXPECT_EQ(readText(dir.file("keep.ksv")), "precious");
        EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"bad.bmp", "keep.ksv"}));
    }
    EXPECT_EQ(toKsv(dir.file("none.bmp"), dir.file("keep.ksv")).exitCode, 20);
}

TEST(Ksv2Bmp, HeadersAndThirtyTwoBitGreyPixels)
{
    TempDir dir;
    writeBytes(dir.file("a.ksv"), makeKsv("KSV V000\r 8\r 3\r 2\r 0\r 200\r", {0, 1, 2, 100, 150, 200}));
    ASSERT_EQ(fromKsv(dir.file("a.ksv"), dir.file("a.bmp")).exitCode, 0);
    const Bytes bmp = readBytes(dir.file("a.bmp"));
    Bytes expected = {'B', 'M'};
    putU32(expected, 54 + 24);
    putU32(expected, 0);
    putU32(expected, 54);
    for (const std::uint32_t v : {40u, 3u, 2u})
        putU32(expected, v);
    putU16(expected, 1);
    putU16(expected, 32);
    for (const std::uint32_t v : {0u, 24u, 0u, 0u, 0u, 0u})
        putU32(expected, v);
    for (const int g : {0, 1, 2, 100, 150, 200})  // KSV row 0 first: the bottom row
        expected.insert(expected.end(), {static_cast<unsigned char>(g), static_cast<unsigned char>(g),
                                         static_cast<unsigned char>(g), 0});
    EXPECT_EQ(bmp, expected);
}

TEST(Ksv2Bmp, ShiftScaleAndTruncation)
{
    TempDir dir;
    struct Case {
        const char* name;
        Bytes ksv;
        std::vector<int> grey;
    };
    const Case cases[] = {
        {"unscaled", makeKsv("KSV V000\r 16\r 3\r 1\r 0\r 255\r", {0, 77, 255}), {0, 77, 255}},
        {"scaled above 255", makeKsv("KSV V000\r 16\r 3\r 1\r 0\r 1000\r", {1000, 500, 3}), {255, 127, 0}},
        {"shifted", makeKsv("KSV V000\r 16\r 3\r 1\r -100\r 100\r", {-100, 0, 100}), {0, 100, 200}},
        {"full 32-bit range",
         makeKsv("KSV V000\r 32\r 3\r 1\r -2147483648\r 2147483647\r", {-2147483647 - 1, 0, 2147483647}),
         {0, 127, 255}},
        {"float shifted, truncated",
         makeKsvFloat("KSV V000\r -32\r 3\r 1\r -1.500000\r 100.000000\r", {-1.5f, 0.2f, 100.0f}),
         {0, 1, 101}},
        {"float scaled",
         makeKsvFloat("KSV V000\r -64\r 3\r 1\r 0.000000\r 510.000000\r", {510.0f, 255.0f, 1.9f}),
         {255, 127, 0}},
        {"float not finite",
         makeKsvFloat("KSV V000\r -32\r 4\r 1\r 0.000000\r 900.000000\r", {NAN, INFINITY, -INFINITY, 900.0f}),
         {0, 0, 0, 255}},
        {"float range in exponent form",
         makeKsvFloat("KSV V000\r -32\r 2\r 1\r -5.000000E-17\r 1.000000E-17\r", {-5e-17f, 1e-17f}),
         {0, 0}},
        {"float range of 2e38",
         makeKsvFloat("KSV V000\r -32\r 3\r 1\r -99999996802856924650656260769173209088.000000"
                      "\r 99999996802856924650656260769173209088.000000\r",
                      {-1e38f, 0.0f, 1e38f}),
         {0, 127, 255}},
        {"beyond the header's range: low 8 bits", makeKsv("KSV V000\r 8\r 2\r 1\r 0\r 200\r", {300, 7}), {44, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(dir.file("m.ksv"), c.ksv);
        ASSERT_EQ(fromKsv(dir.file("m.ksv"), dir.file("m.bmp")).exitCode, 0);
        const Bytes bmp = readBytes(dir.file("m.bmp"));
        ASSERT_EQ(bmp.size(), 54 + 4 * c.grey.size());
        for (std::size_t i = 0; i < c.grey.size(); ++i)
            EXPECT_EQ(getU32(bmp, 54 + 4 * i), static_cast<std::uint32_t>(c.grey[i] * 0x010101)) << i;
    }
}

TEST(BmpRoundTrip, GreyValuesComeBackAcrossStrips)
{
    TempDir dir;
    for (const int height : {1, 32, 33, 65}) {
        SCOPED_TRACE(height);
        const int width = 3;
        std::vector<std::int32_t> values;
        for (int i = 0; i < width * height; ++i)
            values.push_back((i * 41 + 7) % 256);
        values[0] = 0;
        values[1] = 255;
        writeBytes(dir.file("in.ksv"),
                   makeKsv("KSV V000\r 8\r 3\r " + std::to_string(height) + "\r 0\r 255\r", values));
        ASSERT_EQ(fromKsv(dir.file("in.ksv"), dir.file("t.bmp")).exitCode, 0);
        ASSERT_EQ(toKsv(dir.file("t.bmp"), dir.file("back.ksv")).exitCode, 0);
        EXPECT_EQ(readBytes(dir.file("back.ksv")), readBytes(dir.file("in.ksv")));
    }
}

TEST(Ksv2Bmp, FailuresLeaveTheOutputAlone)
{
    TempDir dir;
    // 65536 x 16385 pixels need more than the 32-bit size fields can hold (a sparse file).
    writeBytes(dir.file("huge.ksv"), makeKsv("KSV V000\r 8\r 65536\r 16385\r 0\r 0\r", {}));
    std::filesystem::resize_file(dir.file("huge.ksv"), 256 + 65536ull * 16385 * 4);
    writeBytes(dir.file("short.ksv"), makeKsv("KSV V000\r 8\r 2\r 2\r 0\r 1\r", {0, 1, 1}));
    writeBytes(dir.file("bad.ksv"), makeKsv("KSV V000\r 8\r 2\r", {}));
    const std::pair<const char*, int> cases[] = {
        {"huge.ksv", 27}, {"short.ksv", 45}, {"bad.ksv", 47}, {"none.ksv", 41}};
    for (const auto& [name, code] : cases) {
        SCOPED_TRACE(name);
        writeText(dir.file("keep.bmp"), "precious");
        EXPECT_EQ(fromKsv(dir.file(name), dir.file("keep.bmp")).exitCode, code);
        EXPECT_EQ(readText(dir.file("keep.bmp")), "precious");
    }
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"bad.ksv", "huge.ksv", "keep.bmp", "short.ksv"}));
}
