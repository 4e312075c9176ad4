#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "TestSupport.h"

using namespace testsupport;

namespace {

const std::string kKsv2PgmHeader = "P5\n# Created by ksv2pgm (absolute NB if min < 0 shifted to range from 0)\n";

Bytes pgm(const std::string& header, const std::vector<int>& samples, bool wide)
{
    Bytes b(header.begin(), header.end());
    for (const int s : samples) {
        if (wide)
            b.push_back(static_cast<unsigned char>(s >> 8));
        b.push_back(static_cast<unsigned char>(s));
    }
    return b;
}

Bytes simplePgm(int width, int height, int maxValue, const std::vector<int>& samples)
{
    return pgm("P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n" + std::to_string(maxValue) + "\n",
               samples, maxValue >= 256);
}

std::vector<int> ramp(int count, int modulo)
{
    std::vector<int> v(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        v[static_cast<std::size_t>(i)] = (i * 7 + 3) % modulo;
    return v;
}

RunResult toKsv(const std::string& in, const std::string& out)
{
    return run({program("pgm2ksv"), in, out, "ignored"});
}

RunResult fromKsv(const std::string& in, const std::string& out)
{
    return run({program("ksv2pgm"), in, out});
}

// The raster of a PGM written by ksv2pgm, after its fixed header.
Bytes rasterAfter(const Bytes& file, const std::string& header)
{
    EXPECT_GE(file.size(), header.size());
    EXPECT_EQ(std::string(file.begin(), file.begin() + static_cast<long>(header.size())), header);
    return Bytes(file.begin() + static_cast<long>(header.size()), file.end());
}

}  // namespace

TEST(Pgm2Ksv, EightAndSixteenBitHeadersAndPixels)
{
    TempDir dir;
    struct Case {
        int maxValue;
        std::vector<int> samples;
        std::string header;
    };
    const Case cases[] = {
        {255, {7, 0, 255, 9, 12, 3}, "KSV V000\r 8\r 3\r 2\r 0\r 255\r"},
        {256, {300, 256, 1, 2, 3, 4}, "KSV V000\r 20\r 3\r 2\r 1\r 300\r"},
        {65535, {65535, 4660, 513, 1000, 999, 40000}, "KSV V000\r 20\r 3\r 2\r 513\r 65535\r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.maxValue);
        writeBytes(dir.file("a.pgm"), simplePgm(3, 2, c.maxValue, c.samples));
        ASSERT_EQ(toKsv(dir.file("a.pgm"), dir.file("a.ksv")).exitCode, 0);
        const Bytes ksv = readBytes(dir.file("a.ksv"));
        EXPECT_EQ(ksvHeaderText(ksv), c.header);
        ASSERT_EQ(ksv.size(), 256u + 6 * 4);
        EXPECT_EQ(ksvIntPixels(ksv), std::vector<std::int32_t>(c.samples.begin(), c.samples.end()));
    }
}

TEST(Pgm2Ksv, CommentsBeforeMagicSizeAndMaximum)
{
    TempDir dir;
    writeBytes(dir.file("c.pgm"), pgm("# one\nP5\n# two\n# two more\n2 2\n# three\n255\n", {1, 2, 3, 4}, false));
    ASSERT_EQ(toKsv(dir.file("c.pgm"), dir.file("c.ksv")).exitCode, 0);
    EXPECT_EQ(ksvIntPixels(readBytes(dir.file("c.ksv"))), (std::vector<std::int32_t>{1, 2, 3, 4}));

    // Comments of any length end at their line end; text beyond any buffer size is no size.
    for (const std::size_t length : {254, 255, 256, 1000}) {
        const std::string comment = "#" + std::string(length - 1, 'c') + "9 9\n";
        for (const std::string header :
             {comment + "P5\n2 2\n255\n", "P5\n" + comment + "2 2\n255\n", "P5\n2 2\n" + comment + "255\n",
              "P5" + std::string(length, ' ') + "9 9\n2 2\n255\n"}) {
            SCOPED_TRACE(header);
            writeBytes(dir.file("long.pgm"), pgm(header, {1, 2, 3, 4}, false));
            ASSERT_EQ(toKsv(dir.file("long.pgm"), dir.file("long.ksv")).exitCode, 0);
            const Bytes ksv = readBytes(dir.file("long.ksv"));
            EXPECT_EQ(ksvHeaderText(ksv), "KSV V000\r 8\r 2\r 2\r 1\r 4\r");
            EXPECT_EQ(ksvIntPixels(ksv), (std::vector<std::int32_t>{1, 2, 3, 4}));
        }
    }

    // After the maximum comes exactly one separator: a '#' there is raster data.
    writeBytes(dir.file("d.pgm"), pgm("P5\n2 1\n255\n#x", {}, false));
    ASSERT_EQ(toKsv(dir.file("d.pgm"), dir.file("d.ksv")).exitCode, 0);
    EXPECT_EQ(ksvIntPixels(readBytes(dir.file("d.ksv"))), (std::vector<std::int32_t>{'#', 'x'}));
}

TEST(Pgm2Ksv, RangeOfASixteenBitImageShorterThanOneStrip)
{
    TempDir dir;
    std::vector<int> samples = ramp(5 * 20, 60000);
    samples[37] = 65000;
    samples[58] = 2;
    writeBytes(dir.file("r.pgm"), simplePgm(5, 20, 65535, samples));
    ASSERT_EQ(toKsv(dir.file("r.pgm"), dir.file("r.ksv")).exitCode, 0);
    EXPECT_EQ(ksvHeaderText(readBytes(dir.file("r.ksv"))), "KSV V000\r 20\r 5\r 20\r 2\r 65000\r");
}

TEST(PgmRoundTrip, StripBoundariesKeepEverySample)
{
    TempDir dir;
    for (const int height : {1, 31, 32, 33, 64, 65}) {
        for (const int maxValue : {255, 65535}) {
            SCOPED_TRACE(std::to_string(height) + " rows, max " + std::to_string(maxValue));
            const int width = 7;
            std::vector<int> samples = ramp(width * height, maxValue == 255 ? 256 : 65536);
            samples.back() = maxValue;  // keeps the 16-bit file 16-bit on the way back
            writeBytes(dir.file("in.pgm"), simplePgm(width, height, maxValue, samples));
            ASSERT_EQ(toKsv(dir.file("in.pgm"), dir.file("t.ksv")).exitCode, 0);
            ASSERT_EQ(readBytes(dir.file("t.ksv")).size(), 256u + static_cast<std::size_t>(width * height) * 4);
            ASSERT_EQ(fromKsv(dir.file("t.ksv"), dir.file("out.pgm")).exitCode, 0);
            const std::string header = kKsv2PgmHeader + std::to_string(width) + " " + std::to_string(height) + "\n" +
                                       std::to_string(maxValue) + "\n";
            EXPECT_EQ(rasterAfter(readBytes(dir.file("out.pgm")), header), pgm("", samples, maxValue == 65535));
        }
    }
}

TEST(Ksv2Pgm, DepthAndMappingTable)
{
    TempDir dir;
    struct Case {
        const char* name;
        Bytes ksv;
        int maxValue;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"integer below 256", makeKsv("KSV V000\r 16\r 3\r 1\r 0\r 255\r", {0, 17, 255}), 255, {0, 17, 255}},
        {"integer shifted", makeKsv("KSV V000\r 16\r 3\r 1\r -100\r 100\r", {-100, 0, 100}), 255, {0, 100, 200}},
        {"integer 256", makeKsv("KSV V000\r 20\r 2\r 1\r 0\r 256\r", {0, 256}), 65535, {0, 256}},
        {"integer 65535", makeKsv("KSV V000\r 20\r 2\r 1\r 0\r 65535\r", {1, 65535}), 65535, {1, 65535}},
        {"integer scaled",
         makeKsv("KSV V000\r 32\r 3\r 1\r 0\r 100000\r", {0, 50000, 100000}),
         65535,
         {0, 32767, 65535}},
        {"integer full range",
         makeKsv("KSV V000\r 32\r 3\r 1\r -2147483648\r 2147483647\r", {-2147483647 - 1, 0, 2147483647}),
         65535,
         {0, 32767, 65535}},
        {"float rounded",
         makeKsvFloat("KSV V000\r -32\r 2\r 1\r 0.200000\r 254.600000\r", {0.2f, 254.6f}),
         255,
         {0, 255}},
        {"float shifted",
         makeKsvFloat("KSV V000\r -32\r 3\r 1\r -1.500000\r 100.000000\r", {-1.5f, 0.2f, 100.0f}),
         255,
         {0, 2, 102}},
        {"float two bytes",
         makeKsvFloat("KSV V000\r -32\r 2\r 1\r 0.000000\r 1000.000000\r", {0.0f, 999.6f}),
         65535,
         {0, 1000}},
        {"float scaled",
         makeKsvFloat("KSV V000\r -64\r 2\r 1\r 0.000000\r 131070.000000\r", {131070.0f, 65535.0f}),
         65535,
         {65535, 32768}},
        {"float not finite",
         makeKsvFloat("KSV V000\r -32\r 4\r 1\r 0.000000\r 1000.000000\r", {NAN, INFINITY, -INFINITY, 1000.0f}),
         65535,
         {0, 0, 0, 1000}},
        {"float range in exponent form",
         makeKsvFloat("KSV V000\r -32\r 2\r 1\r 1.000000E-17\r 5.000000E-17\r", {1e-17f, 5e-17f}),
         255,
         {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(dir.file("m.ksv"), c.ksv);
        ASSERT_EQ(fromKsv(dir.file("m.ksv"), dir.file("m.pgm")).exitCode, 0);
        const int width = static_cast<int>(c.expected.size());
        const std::string header = kKsv2PgmHeader + std::to_string(width) + " 1\n" + std::to_string(c.maxValue) + "\n";
        EXPECT_EQ(rasterAfter(readBytes(dir.file("m.pgm")), header), pgm("", c.expected, c.maxValue == 65535));
    }
}

TEST(PgmMalformedInput, FailsWithTableCodeAndNoOutput)
{
    TempDir dir;
    struct Case {
        const char* name;
        Bytes file;
        int code;
    };
    const Case cases[] = {
        {"plain PGM magic", pgm("P2\n2 2\n255\n", {1, 2, 3, 4}, false), 39},
        {"bitmap", Bytes{'B', 'M', 0, 0, 0, 0}, 39},
        {"empty file", Bytes{}, 39},
        {"magic and size on one line", pgm("P5 2 2\n255\n", {1, 2, 3, 4}, false), 39},
        {"width zero", pgm("P5\n0 2\n255\n", {}, false), 39},
        {"height negative", pgm("P5\n2 -2\n255\n", {}, false), 39},
        {"size missing", pgm("P5\n2\n", {}, false), 39},
        {"maximum zero", pgm("P5\n1 1\n0\n", {0}, false), 39},
        {"maximum above 65535", pgm("P5\n1 1\n65536\n", {0, 0}, true), 39},
        {"width beyond 32 bits", pgm("P5\n99999999999 1\n255\n", {0}, false), 39},
        {"truncated raster", pgm("P5\n4 40\n255\n", ramp(4 * 39, 256), false), 37},
        {"truncated 16-bit raster", pgm("P5\n4 4\n1000\n", ramp(15, 1000), true), 37},
        {"absurd size", pgm("P5\n2147483647 2147483647\n65535\n", {1, 2}, true), 37},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(dir.file("bad.pgm"), c.file);
        writeText(dir.file("keep.ksv"), "precious");
        const RunResult r = toKsv(dir.file("bad.pgm"), dir.file("keep.ksv"));
        EXPECT_EQ(r.exitCode, c.code);
        EXPECT_EQ(readText(dir.file("keep.ksv")), "precious");
        EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"bad.pgm", "keep.ksv"}));
    }
}

TEST(KsvMalformedInput, FailsWithTableCodeAndNoOutput)
{
    TempDir dir;
    const Bytes good = makeKsv("KSV V000\r 8\r 2\r 2\r 0\r 9\r", {0, 3, 6, 9});
    Bytes truncated = good;
    truncated.resize(truncated.size() - 3);
    Bytes headerOnly = good;
    headerOnly.resize(40);
    struct Case {
        const char* name;
        Bytes file;
        int code;
    };
    const Case cases[] = {
        {"another magic", makeKsv("KSV W000\r 8\r 2\r 2\r 0\r 9\r", {0, 3, 6, 9}), 47},
        {"a bitmap", Bytes{'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8}, 47},
        {"missing maximum", makeKsv("KSV V000\r 8\r 2\r 2\r 0\r", {0, 3, 6, 9}), 47},
        {"width zero", makeKsv("KSV V000\r 8\r 0\r 2\r 0\r 9\r", {}), 47},
        {"truncated pixels", truncated, 45},
        {"header only", headerOnly, 45},
        {"absurd size", makeKsv("KSV V000\r 8\r 2147483647\r 2147483647\r 0\r 9\r", {1}), 45},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(dir.file("bad.ksv"), c.file);
        writeText(dir.file("keep.pgm"), "precious");
        EXPECT_EQ(fromKsv(dir.file("bad.ksv"), dir.file("keep.pgm")).exitCode, c.code);
        EXPECT_EQ(readText(dir.file("keep.pgm")), "precious");
        EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"bad.ksv", "keep.pgm"}));
    }
    EXPECT_EQ(fromKsv(dir.file("none.ksv"), dir.file("keep.pgm")).exitCode, 41);
    EXPECT_EQ(toKsv(dir.file("none.pgm"), dir.file("keep.ksv")).exitCode, 33);
}
