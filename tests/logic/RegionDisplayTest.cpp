#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "LogicFixture.h"
#include "gDataHistogram.h"
#include "gDataRegionDisplay.h"

using namespace kestrova;
using namespace testsupport;

namespace {

// A region of `count` elements whose histogram the test sets directly.
PixelSource counted(std::size_t count, std::int32_t min, std::int32_t max)
{
    PixelSource p;
    p.count = count;
    p.intMin = min;
    p.intMax = max;
    return p;
}

RegionDisplayThresholds intThresholds(std::int32_t low, std::int32_t high)
{
    RegionDisplayThresholds t;
    t.intLow = low;
    t.intHigh = high;
    return t;
}

RegionDisplayThresholds floatThresholds(float low, float high)
{
    RegionDisplayThresholds t;
    t.floatLow = low;
    t.floatHigh = high;
    return t;
}

// The grey level by exact integer arithmetic, halves to even.
std::uint8_t expectedIntGrey(std::int64_t v, std::int64_t low, std::int64_t high)
{
    if (v < low)
        return 0;
    if (v > high)
        return 255;
    if (low >= high)
        return 0;
    const std::int64_t num = (v - low) * 255;
    const std::int64_t span = high - low;
    std::int64_t q = num / span;
    const std::int64_t twiceRest = 2 * (num % span);
    if (twiceRest > span || (twiceRest == span && q % 2 != 0))
        ++q;
    return static_cast<std::uint8_t>(q);
}

std::uint8_t expectedFloatGrey(float v, float low, float high)
{
    if (!std::isfinite(v) || v < low)
        return 0;
    if (v > high)
        return 255;
    if (low >= high)
        return 0;
    const long double g = (static_cast<long double>(v) - low) * 255.0L / (static_cast<long double>(high) - low);
    return static_cast<std::uint8_t>(std::nearbyintl(g));
}

}  // namespace

TEST(RegionThresholds, WalksAreBoundedAndCountExactHalves)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::int32_t>> bins;  // bin, count
        float lowPercent, highPercent;
        bool lowerOn, upperOn;
        std::int32_t low, high;
    };
    const Case cases[] = {
        // Lone pixels: counted in halves the walks stop one bin in; rounded at every step
        // they would never move.
        {"sparse", {{0, 1}, {85, 1}, {170, 1}, {255, 1}}, 25.0f, 25.0f, true, true, 2, 508},
        // 99.99 % with half the pixels in bin 0: the walk ends at bin 255, the walks meet,
        // and the thresholds collapse to the full range.
        {"unreachable", {{0, 5000}, {255, 5000}}, 99.99f, 0.02f, true, true, 0, 510},
        {"both zero", {{0, 2}, {128, 2}, {255, 2}}, 0.0f, 0.0f, true, true, 0, 510},
        // Same bin from both ends.
        {"meet", {{128, 10}}, 10.0f, 10.0f, true, true, 0, 510},
        {"lower off", {{0, 1}, {85, 1}, {170, 1}, {255, 1}}, 25.0f, 25.0f, false, true, 0, 508},
        {"upper off", {{0, 1}, {85, 1}, {170, 1}, {255, 1}}, 25.0f, 25.0f, true, false, 2, 510},
    };
    for (const Case& c : cases) {
        RegionHistogram h;
        std::size_t n = 0;
        for (const auto& [bin, count] : c.bins) {
            h.counts[static_cast<std::size_t>(bin)] = count;
            n += static_cast<std::size_t>(count);
        }
        DisplayThresholds display;
        display.lower.on = c.lowerOn;
        display.upper.on = c.upperOn;
        const RegionDisplayThresholds t =
            RegionThresholdsFromPercent(counted(n, 0, 510), h, display, c.lowPercent, c.highPercent);
        EXPECT_EQ(t.intLow, c.low) << c.name;
        EXPECT_EQ(t.intHigh, c.high) << c.name;
    }
}

TEST(RegionThresholds, TextsKeepTheComputedValuesAndFloatsStayFloat)
{
    RegionHistogram h;
    h.counts = {};
    h.counts[0] = h.counts[85] = h.counts[170] = h.counts[255] = 1;
    DisplayThresholds display;
    display.lower.on = false;
    PixelSource p = counted(4, -100, 410);
    RegionDisplayThresholds t = RegionThresholdsFromPercent(p, h, display, 25.0f, 25.0f);
    EXPECT_EQ(t.lowText, "-98");
    EXPECT_EQ(t.intLow, -100);

    p.isFloat = true;
    p.floatMin = 0.5f;
    p.floatMax = 1.5f;
    display.lower.on = true;
    t = RegionThresholdsFromPercent(p, h, display, 25.0f, 25.0f);
    EXPECT_FLOAT_EQ(t.floatLow, static_cast<float>(1.0 / 255 + 0.5));
    EXPECT_FLOAT_EQ(t.floatHigh, static_cast<float>(254.0 / 255 + 0.5));
}

TEST(RegionGrey, MappingRule)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct IntCase {
        std::int32_t v, low, high;
        int grey;
    };
    const IntCase ints[] = {
        {1, 0, 510, 0},  {3, 0, 510, 2},     {510, 0, 510, 255},
        {-1, 0, 510, 0}, {511, 0, 510, 255}, {0, -2000000000, 2000000000, 128},  // beyond 32 bits
        {5, 5, 5, 0},    {4, 5, 5, 0},       {6, 5, 5, 255},                     // zero span
    };
    for (const IntCase& c : ints)
        EXPECT_EQ(regionGreyOf(c.v, intThresholds(c.low, c.high)), c.grey) << c.v << " " << c.low << ".." << c.high;
    struct FloatCase {
        float v, low, high;
        int grey;
    };
    const FloatCase floats[] = {
        {1.0f, 0.0f, 510.0f, 0}, {3.0f, 0.0f, 510.0f, 2}, {2.5f, 2.5f, 2.5f, 0},
        {nan, 0.0f, 1.0f, 0},    {inf, 0.0f, 1.0f, 0},    {-inf, 0.0f, 1.0f, 0},
    };
    for (const FloatCase& c : floats)
        EXPECT_EQ(regionGreyOf(c.v, floatThresholds(c.low, c.high)), c.grey) << c.v;
}

TEST(RegionZoom, TextSequenceAndFloor)
{
    std::vector<std::string> outs;
    std::string text = "100";
    while (const auto next = regionZoomOutText(text)) {
        text = *next;
        outs.push_back(text);
    }
    const std::vector<std::string> expected{"50.00", "25.00", "12.50", "6.00", "3.00", "1.50", "1.00"};
    EXPECT_EQ(outs, expected);
    EXPECT_EQ(regionZoomInText("100"), std::optional<std::string>{"200.00"});
    EXPECT_EQ(regionZoomInText("12.50"), std::optional<std::string>{"24.00"});
    EXPECT_FALSE(regionZoomInText("20000"));  // beyond the 16-bit reading
    EXPECT_FALSE(regionZoomInText("x"));
    EXPECT_EQ(regionBaseScaleFor(256, 128), 2.0f);
    EXPECT_EQ(regionZoomFactor("50.00", 2.0f), std::optional<float>{1.0f});
    EXPECT_FALSE(regionZoomFactor("0.50", 2.0f));  // reads 0
    EXPECT_FALSE(regionZoomFactor("-3", 2.0f));
}

TEST(RegionSave, DataTypeForTheRegionRange)
{
    struct Case {
        std::int16_t store;
        std::int32_t min, max;
        bool isFloat;
        std::int16_t saved;
    };
    const Case cases[] = {
        {8, 0, 255, false, 8},                                     // a plain region keeps its code
        {8, -5, 255, false, 16},                                   // 8-bit frame minus background
        {8, 0, 510, false, 16},                                    // added
        {20, 0, 65535, false, 20},  {20, -100, 65535, false, 32},  // 16-bit frame minus background
        {20, 0, 131070, false, 32}, {16, -40000, 10, false, 32},  {10, -128, 127, false, 10},
        {10, -129, 0, false, 16},   {40, -1, 5, false, 16},       {-32, -5, 5, true, -32},
    };
    for (const Case& c : cases) {
        RegionArray region;
        region.intMin = c.min;
        region.intMax = c.max;
        EXPECT_EQ(regionSaveDataType(c.store, region, c.isFloat), c.saved) << c.store << " " << c.min << ".." << c.max;
    }
}

TEST(RegionReadOut, ImageCoordinatesAndCaption)
{
    RegionArray region;
    region.width = 3;
    region.height = 2;
    region.intPixels = {1, 2, 3, 4, 5, 6};
    region.intMin = 1;
    region.intMax = 6;
    region.builtRoI1 = {10, 20, 12, 21};
    const PixelSource p = PixelSource::of(region, false);
    Calibration calibration;
    calibration.calibrationLoaded = true;
    for (int x = 1; x <= 12; ++x)
        calibration.wavelengths.push_back(400.0f + static_cast<float>(x));

    // The picture's top row is the region's second row; x 1.9 is still in the first column.
    RegionReadOut r = regionReadOutAt(1.9, 1.2, p, region, intThresholds(2, 5), calibration, "###0");
    EXPECT_EQ(r.column, "10");
    EXPECT_EQ(r.row, "21");
    EXPECT_EQ(r.wavelength, "410.0");
    EXPECT_EQ(r.intensity, "4");
    EXPECT_EQ(r.grey, "170");
    r = regionReadOutAt(3.5, 2.5, p, region, intThresholds(2, 5), calibration, "###0");
    EXPECT_EQ(r.column, "12");
    EXPECT_EQ(r.intensity, "3");
    EXPECT_EQ(regionReadOutAt(1.0, 2.0, p, region, intThresholds(2, 5), calibration, "###0").grey, "< T' hold");

    ImageStore image;
    image.imageBaseName = "run7";
    image.imageExtension = ".fits";
    region.builtRoI2On = true;
    EXPECT_EQ(regionCaption(image, true, region), "File name: run7.fits   RoI1 - RoI2");
}

// The temporary bitmap of a region of a frame minus a background band, against the grey levels
// computed here by exact arithmetic.
TEST_F(LogicTest, RegionBitmapOfASubtractedRegion)
{
    constexpr std::int32_t kWidth = 37;
    constexpr std::int32_t kBand = 23;
    for (const bool isFloat : {false, true}) {
        std::uint32_t seed = 99;
        const auto next = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return seed >> 16;
        };
        RegionArray& region = state.region;
        region = RegionArray{};
        region.width = kWidth;
        region.height = kBand;
        region.builtRoI2On = true;
        const std::size_t n = static_cast<std::size_t>(kWidth) * kBand;
        for (std::size_t k = 0; k < n; ++k) {
            const auto band = static_cast<std::int32_t>(next() % 256);
            const auto background = static_cast<std::int32_t>(next() % 40);
            if (isFloat)
                region.floatPixels.push_back(static_cast<float>(band) * 0.37f - static_cast<float>(background) * 0.11f);
            else
                region.intPixels.push_back(band - background);
        }
        if (isFloat) {
            region.floatPixels[5] = std::numeric_limits<float>::quiet_NaN();
            region.floatMin = *std::min_element(region.floatPixels.begin() + 6, region.floatPixels.end());
            region.floatMax = *std::max_element(region.floatPixels.begin() + 6, region.floatPixels.end());
        } else {
            region.intMin = *std::min_element(region.intPixels.begin(), region.intPixels.end());
            region.intMax = *std::max_element(region.intPixels.begin(), region.intPixels.end());
        }
        region.header = BitmapInfoHeader::forPicture(kWidth, kBand);
        state.image.isFloat = isFloat;
        state.resultFlags.histogramComputed = false;
        state.displayThresholds.lower.percent = state.displayThresholds.upper.percent = 5.0f;
        state.inversion.invertIntensity = isFloat;  // the float picture opens inverted

        ASSERT_TRUE(PrepareRegionDisplay(state, messages));
        EXPECT_EQ(state.regionDisplay.regionBaseScale, 512.0f / kWidth);
        const Bytes bitmap = readBytes(state.workFolder + "/Pic.Bmp");
        ASSERT_EQ(bitmap.size(), 54 + n * 4);
        const RegionDisplayThresholds& t = state.regionDisplay.thresholds;
        // Both thresholds lie inside the range, so all three branches of the mapping are met.
        if (isFloat)
            EXPECT_TRUE(t.floatLow > region.floatMin && t.floatHigh < region.floatMax);
        else
            EXPECT_TRUE(t.intLow > region.intMin && t.intHigh < region.intMax);
        for (std::size_t k = 0; k < n; ++k) {
            std::uint8_t grey = isFloat ? expectedFloatGrey(region.floatPixels[k], t.floatLow, t.floatHigh)
                                        : expectedIntGrey(region.intPixels[k], t.intLow, t.intHigh);
            if (isFloat)
                grey = static_cast<std::uint8_t>(255 - grey);
            const Bytes expected{grey, grey, grey, 0};
            ASSERT_EQ(Bytes(bitmap.begin() + 54 + 4 * k, bitmap.begin() + 58 + 4 * k), expected)
                << (isFloat ? "float" : "integer") << " element " << k;
        }
    }
}

#if KESTROVA_TEST_CFITSIO
// A background-subtracted region written with the chosen type converts to FITS and back whole,
// where the frame's own type makes the converter fail.
TEST(RegionSave, SubtractedRegionsConvertToFitsAndBack)
{
    TempDir dir;
    struct Case {
        std::int16_t frameType;
        std::vector<std::int32_t> pixels;
    };
    const Case cases[] = {{8, {-5, 0, 255, 17}}, {20, {-100, 65535, 0, 9}}};
    for (const Case& c : cases) {
        RegionArray region;
        region.intMin = *std::min_element(c.pixels.begin(), c.pixels.end());
        region.intMax = *std::max_element(c.pixels.begin(), c.pixels.end());
        const auto ksvWith = [&](int code) {
            return makeKsv("KSV V000\r " + std::to_string(code) + "\r 2\r 2\r " + std::to_string(region.intMin) +
                               "\r " + std::to_string(region.intMax) + "\r",
                           c.pixels);
        };
        writeBytes(dir.file("frame.ksv"), ksvWith(c.frameType));
        EXPECT_EQ(run({program("ksv2fit"), dir.file("frame.ksv"), dir.file("frame.fits")}).exitCode, 9);

        writeBytes(dir.file("region.ksv"), ksvWith(regionSaveDataType(c.frameType, region, false)));
        ASSERT_EQ(run({program("ksv2fit"), dir.file("region.ksv"), dir.file("region.fits")}).exitCode, 0);
        ASSERT_EQ(run({program("fit2ksv"), dir.file("region.fits"), dir.file("back.ksv"), "x"}).exitCode, 0);
        EXPECT_EQ(ksvIntPixels(readBytes(dir.file("back.ksv"))), c.pixels) << c.frameType;
    }
}
#endif
