#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "KsvFormat.h"
#include "KsvStrips.h"
#include "TestSupport.h"

using namespace ksv;
using testsupport::TempDir;

namespace {

KsvHeader intHeader(std::int16_t code, std::int32_t w, std::int32_t h, std::int32_t lo, std::int32_t hi)
{
    KsvHeader header;
    header.dataType = code;
    header.width = w;
    header.height = h;
    header.intMin = lo;
    header.intMax = hi;
    return header;
}

}  // namespace

TEST(KsvHeaderText, IntegerAndFloatFormsAreByteExact)
{
    EXPECT_EQ(headerText(intHeader(8, 640, 480, 0, 255)), "KSV V000\r 8\r 640\r 480\r 0\r 255\r");
    EXPECT_EQ(headerText(intHeader(16, 3, 2, -120, 7)), "KSV V000\r 16\r 3\r 2\r -120\r 7\r");

    KsvHeader f;
    f.dataType = -32;
    f.width = 2;
    f.height = 1;
    f.floatMin = -1.5f;
    f.floatMax = 100.0f;
    EXPECT_EQ(headerText(f), "KSV V000\r -32\r 2\r 1\r -1.500000\r 100.000000\r");
}

TEST(KsvHeaderText, FloatsBelowAThousandthTakeTheExponentForm)
{
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {0.0f, "0.000000"},          {-0.0f, "-0.000000"},
        {0.001f, "0.001000"},        {-0.0015f, "-0.001500"},
        {0.000999f, "9.990000E-04"}, {-0.0005f, "-5.000000E-04"},
        {1e-17f, "1.000000E-17"},    {1.234568e-30f, "1.234568E-30"},
        {1e-45f, "1.401298E-45"},
    };
    for (const Case& c : cases) {
        KsvHeader f;
        f.dataType = -32;
        f.width = 1;
        f.height = 1;
        f.floatMin = c.value;
        f.floatMax = 2.5f;
        const std::string text = headerText(f);
        EXPECT_EQ(text, std::string("KSV V000\r -32\r 1\r 1\r ") + c.text + "\r 2.500000\r") << c.text;
        const auto back = parseHeader(text.data(), text.size());
        ASSERT_TRUE(back) << c.text;
        EXPECT_EQ(back->floatMin, c.value) << c.text;
    }
}

TEST(KsvHeaderText, LongestHeaderFitsBeforeThePixels)
{
    KsvHeader f;
    f.dataType = -64;
    f.width = 2147483647;
    f.height = 2147483647;
    f.floatMin = -3.4028235e38f;
    f.floatMax = -3.4028235e38f;
    EXPECT_LE(headerText(f).size(), 136u);
}

TEST(KsvHeaderParse, AcceptsAnyLineEndsAndVersion)
{
    for (const std::string text :
         {"KSV V000\r 8\r 3\r 2\r 1\r 9\r", "KSV V000\n 8\n 3\n 2\n 1\n 9\n",
          "KSV V000\r\n 8\r\n 3\r\n 2\r\n 1\r\n 9\r\n", "KSV V123\r 8\r 3\r 2\r 1\r 9\r", "KSV V\n8 3 2 1 9"}) {
        const auto header = parseHeader(text.data(), text.size());
        ASSERT_TRUE(header.has_value()) << text;
        EXPECT_EQ(header->dataType, 8);
        EXPECT_EQ(header->width, 3);
        EXPECT_EQ(header->height, 2);
        EXPECT_EQ(header->intMin, 1);
        EXPECT_EQ(header->intMax, 9);
    }
}

TEST(KsvHeaderParse, FloatFieldsFollowTheSignOfTheCode)
{
    const std::string text = "KSV V000\r 0\r 4\r 5\r -2.25\r 1e3\r";
    const auto header = parseHeader(text.data(), text.size());
    ASSERT_TRUE(header);
    EXPECT_TRUE(header->isFloat());
    EXPECT_FLOAT_EQ(header->floatMin, -2.25f);
    EXPECT_FLOAT_EQ(header->floatMax, 1000.0f);
}

TEST(KsvHeaderParse, RejectsBadMagicFieldsAndSizes)
{
    for (const std::string text : {"KSV X000\r 8\r 3\r 2\r 1\r 9\r",  // another letter after the blank
                                   "BM\x36\x00\x00\x00",              // a bitmap
                                   "KSV V000\r 8\r 3\r 2\r 1\r",      // maximum missing
                                   "KSV V000\r 8\r three\r 2\r 1\r 9\r",
                                   "KSV V000\r 8\r 0\r 2\r 1\r 9\r",   // width zero
                                   "KSV V000\r 8\r 3\r -2\r 1\r 9\r",  // height negative
                                   "KSV V000\r 8\r 99999999999\r 2\r 1\r 9\r",
                                   "KSV V000\r 40000\r 3\r 2\r 1\r 9\r",  // code beyond 16 bits
                                   "KSV V000\r -32\r 3\r 2\r 1.5\r x\r",
                                   "KSV V000\r -32\r 3\r 2\r 1.5\r inf\r",  // a range is finite
                                   "KSV V000\r -32\r 3\r 2\r nan\r 1.5\r", "KSV", ""}) {
        EXPECT_FALSE(parseHeader(text.data(), text.size())) << text;
    }
}

TEST(KsvFile, HeaderPaddingAndPixelOffsetRoundTrip)
{
    TempDir dir;
    const std::string path = dir.file("a.ksv");
    std::FILE* f = std::fopen(path.c_str(), "w+b");
    ASSERT_NE(f, nullptr);
    const KsvHeader header = intHeader(20, 3, 2, -5, 70000);
    ASSERT_TRUE(seekToPixels(f));
    const std::int32_t pixels[6] = {-5, 0, 1, 2, 3, 70000};
    ASSERT_TRUE(writeRows(f, pixels, 3, 2));
    ASSERT_TRUE(writeHeader(f, header));
    const auto back = readHeader(f);
    std::fclose(f);

    ASSERT_TRUE(back);
    EXPECT_EQ(back->intMin, -5);
    EXPECT_EQ(back->intMax, 70000);
    const auto bytes = testsupport::readBytes(path);
    ASSERT_EQ(bytes.size(), header.fileBytes());
    const std::string text = headerText(header);
    for (std::size_t i = text.size(); i < 256; ++i)
        ASSERT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(testsupport::ksvIntPixels(bytes), std::vector<std::int32_t>(pixels, pixels + 6));
}

TEST(KsvStrips, FullStripsThenTheRemainder)
{
    struct Case {
        std::int32_t height;
        std::vector<std::pair<std::int32_t, int>> strips;
    };
    const Case cases[] = {
        {1, {{0, 1}}}, {31, {{0, 31}}}, {32, {{0, 32}}}, {33, {{0, 32}, {32, 1}}}, {64, {{0, 32}, {32, 32}}},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<std::int32_t, int>> seen;
        forEachStrip(c.height, [&](std::int32_t row, int rows) { seen.emplace_back(row, rows); });
        EXPECT_EQ(seen, c.strips) << c.height;
    }
}

TEST(KsvFloatRange, FiniteValuesOnlyInEveryPart)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    constexpr float big = std::numeric_limits<float>::max();
    const float negativeNaN = -std::numeric_limits<float>::quiet_NaN();
    struct Case {
        std::vector<float> values;
        float lowest, highest;
        bool infinity;
    };
    const Case cases[] = {
        {{3, -2, 7, 0.5f, -2.5f, 6}, -2.5f, 7, false},
        {{-big, big, 1e-45f, -1e-45f}, -big, big, false},
        {{inf, 1, negativeNaN, 2, -inf, 1.5f, NAN}, 1, 2, true},
        {{-7e-30f, -3e-30f, -5e-30f}, -7e-30f, -3e-30f, false},
        {{0.0f, -0.0f}, -0.0f, 0.0f, false},
    };
    for (const Case& c : cases) {
        // In one part and split in two, as in strips.
        for (const std::size_t split : {c.values.size(), c.values.size() / 2}) {
            std::vector<std::uint32_t> bits;
            for (const float v : c.values)
                bits.push_back(std::bit_cast<std::uint32_t>(v));
            FloatRange range;
            const bool first = range.add(bits.data(), split);
            const bool second = range.add(bits.data() + split, bits.size() - split);
            ASSERT_FALSE(range.empty());
            EXPECT_EQ(std::bit_cast<std::uint32_t>(range.lowest()), std::bit_cast<std::uint32_t>(c.lowest)) << c.lowest;
            EXPECT_EQ(std::bit_cast<std::uint32_t>(range.highest()), std::bit_cast<std::uint32_t>(c.highest));
            EXPECT_EQ(first || second, c.infinity);
        }
    }
    FloatRange none;
    const std::uint32_t nan = std::bit_cast<std::uint32_t>(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FALSE(none.add(&nan, 1));
    EXPECT_TRUE(none.empty());
}
