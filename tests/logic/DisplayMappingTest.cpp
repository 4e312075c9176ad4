#include <cmath>
#include <limits>
#include <numeric>

#include "LogicFixture.h"
#include "gDataOrg.h"

using namespace kestrova;
using namespace testsupport;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

std::vector<std::int32_t> ramp(int count)
{
    std::vector<std::int32_t> v(static_cast<std::size_t>(count));
    std::iota(v.begin(), v.end(), 0);
    return v;
}

DisplayHistogram histogramOf(const PixelSource& p)
{
    DisplayHistogram h{};
    BuildDisplayHistogram(p, h);
    return h;
}

// Bin of the single pixel of a one-pixel image; kDisplayBins when it is counted in none.
int binOf(const PixelSource& one)
{
    const DisplayHistogram h = histogramOf(one);
    return static_cast<int>(std::find(h.begin(), h.end(), 1) - h.begin());
}

std::vector<int> greys(const PixelSource& p, const DisplayThresholds& t)
{
    std::vector<std::uint8_t> buffer;
    RenderDisplayBuffer(p, t, buffer);
    std::vector<int> g;
    for (std::size_t k = 0; k < buffer.size(); k += 4) {
        EXPECT_EQ(buffer[k], buffer[k + 1]);
        EXPECT_EQ(buffer[k], buffer[k + 2]);
        EXPECT_EQ(buffer[k + 3], 0);
        g.push_back(buffer[k]);
    }
    return g;
}

DisplayThresholds intThresholds(std::int32_t lo, std::int32_t hi)
{
    DisplayThresholds t;
    t.lower.intValue = lo;
    t.upper.intValue = hi;
    return t;
}

DisplayThresholds floatThresholds(float lo, float hi)
{
    DisplayThresholds t;
    t.lower.floatValue = lo;
    t.upper.floatValue = hi;
    return t;
}

}  // namespace

TEST(DisplayHistogramBins, IntegerPixels)
{
    struct Case {
        std::int32_t value, min, max;
        int bin;
    };
    const Case cases[] = {
        {0, 0, 4095, 0},
        {4095, 0, 4095, 4095},
        {1, 0, 8190, 0},  // 0.5: halves to even
        {3, 0, 8190, 2},  // 1.5
        {5, 0, 8190, 2},  // 2.5
        {7, 7, 7, 0},     // flat image: R = 255
        {-3, 0, 10, 0},   // outside the header's range: end bins
        {11, 0, 10, 4095},
        {0, -2000000000, 2000000000, 2048},  // 2047.5, without 32-bit overflow
        {2000000000, -2000000000, 2000000000, 4095},
        {-2147483647 - 1, -2147483647 - 1, 2147483647, 0},
        {2147483647, -2147483647 - 1, 2147483647, 4095},
    };
    for (const Case& c : cases) {
        const std::vector<std::int32_t> one = {c.value};
        EXPECT_EQ(binOf(ints(one, c.min, c.max)), c.bin) << c.value << " in " << c.min << ".." << c.max;
    }
}

TEST(DisplayHistogramBins, FloatPixels)
{
    struct Case {
        float value, min, max;
        int bin;
    };
    const Case cases[] = {
        {0.5f, 0.0f, 2.0f, 1024},  // 1023.75
        {2.0f, 0.0f, 2.0f, 4095},         {-1.0f, 0.0f, 2.0f, 0},
        {3.0f, 0.0f, 2.0f, 4095},         {kNaN, 0.0f, 2.0f, kDisplayBins},  // not finite: no bin
        {kInf, 0.0f, 2.0f, kDisplayBins}, {-kInf, 0.0f, 2.0f, kDisplayBins},
        {0.25f, 0.25f, 0.25f, 0},     // flat
        {0.0f, -1e38f, 1e38f, 2048},  // 2047.5: (v - min) * 4095 is beyond the float range
        {1e38f, -1e38f, 1e38f, 4095},     {0.0f, -3e38f, 3e38f, 2048},  // a range wider than any float
        {1e-17f, 0.0f, 2e-17f, 2048},
    };
    for (const Case& c : cases) {
        const std::vector<float> one = {c.value};
        EXPECT_EQ(binOf(floats(one, c.min, c.max)), c.bin) << c.value;
    }
}

TEST(ThresholdWalks, TargetsAndWalksOnHandMadeHistograms)
{
    EXPECT_EQ(percentTarget(4096, 10.0f), 410);  // 409.6
    EXPECT_EQ(percentTarget(1000, 0.02f), 0);    // 0.2
    EXPECT_EQ(percentTarget(10000, 0.05f), 5);
    EXPECT_EQ(percentTarget(10000, 0.0f), 0);
    EXPECT_EQ(percentTarget(100, 250.0f), 250);  // more than there are: the walk stops at the end

    DisplayHistogram h{};
    // Nothing to pass: the full range.
    EXPECT_EQ(walkThresholdBins(h, 0, 0).lower, 0);
    EXPECT_EQ(walkThresholdBins(h, 0, 0).upper, 4095);
    // Unreachable targets stop at the end bins, and the walks that meet collapse.
    const ThresholdBins unreachable = walkThresholdBins(h, 5, 5);
    EXPECT_EQ(unreachable.lower, 0);
    EXPECT_EQ(unreachable.upper, 4095);

    h[0] = 3;  // the count starts at 1.5
    h[1] = 2;  // then 1.5 + 2.5 = 4
    h[2] = 1;  // then 4 + 1.5 = 5.5
    EXPECT_EQ(walkThresholdBins(h, 1, 0).lower, 0);
    EXPECT_EQ(walkThresholdBins(h, 2, 0).lower, 1);
    EXPECT_EQ(walkThresholdBins(h, 4, 0).lower, 1);
    EXPECT_EQ(walkThresholdBins(h, 5, 0).lower, 2);
    h[4095] = 1;  // 0.5
    h[4094] = 4;  // 0.5 + 2.5 = 3
    EXPECT_EQ(walkThresholdBins(h, 0, 1).upper, 4094);
    EXPECT_EQ(walkThresholdBins(h, 0, 3).upper, 4094);
    EXPECT_EQ(walkThresholdBins(h, 0, 4).upper, 4093);  // 3 + 2 = 5
}

TEST(ThresholdWalks, SparseHistogramsReachTheirTargets)
{
    // One pixel in every eighth bin, as in a small image with a wide range: each step adds half a
    // pixel, which a count rounded at every step would lose for good.
    DisplayHistogram h{};
    for (std::size_t b = 0; b < h.size(); b += 8)
        h[b] = 1;
    const ThresholdBins bins = walkThresholdBins(h, 51, 51);  // 10 % of 512 pixels on each side
    EXPECT_GT(bins.lower, 0);
    EXPECT_NEAR(bins.lower, 51 * 8, 8);
    EXPECT_LT(bins.upper, 4095);
    EXPECT_NEAR(bins.upper, 4095 - 51 * 8, 8);
}

TEST(ThresholdsFromPercentFigures, KnownAnswers)
{
    const std::vector<std::int32_t> r = ramp(4096);  // one pixel in each bin
    struct Case {
        float lower, upper;
        bool lowerOn, upperOn;
        const char* lowerText;
        const char* upperText;
        std::int32_t lowerValue, upperValue;
    };
    const Case cases[] = {
        {10.0f, 10.0f, true, true, "410", "3685", 410, 3685}, {0.0f, 0.0f, true, true, "0", "4095", 0, 4095},
        {10.0f, 10.0f, false, true, "410", "3685", 0, 3685},  // Off: the minimum, but the text is computed
        {60.0f, 50.0f, true, true, "0", "4095", 0, 4095},     // the walks cross: full range
        {99.99f, 99.99f, true, true, "0", "4095", 0, 4095},
    };
    for (const Case& c : cases) {
        DisplayThresholds t;
        t.lower.on = c.lowerOn;
        t.upper.on = c.upperOn;
        t.lower.percentText = "kept";
        ThresholdsFromPercent(ints(r, 0, 4095), c.lower, c.upper, t);
        EXPECT_EQ(t.lower.valueText, c.lowerText) << c.lower;
        EXPECT_EQ(t.upper.valueText, c.upperText) << c.upper;
        EXPECT_EQ(t.lower.intValue, c.lowerValue) << c.lower;
        EXPECT_EQ(t.upper.intValue, c.upperValue) << c.upper;
        EXPECT_EQ(t.lower.percentText, "kept");
    }

    // Values lie in the image's range, not the bins': minimum 1, range 8190, bin 410 is 821.
    std::vector<std::int32_t> wide(4096);
    for (std::size_t k = 0; k < wide.size(); ++k)
        wide[k] = 1 + 2 * static_cast<std::int32_t>(k);
    DisplayThresholds t;
    ThresholdsFromPercent(ints(wide, 1, 8191), 10.0f, 10.0f, t);
    EXPECT_EQ(t.lower.intValue, 821);
    EXPECT_EQ(t.upper.intValue, 1 + 2 * 3685);
}

TEST(ThresholdsFromPercentFigures, FlatAndExtremeImages)
{
    // A flat image: every pixel in bin 0, the thresholds the minimum and the minimum + 255.
    const std::vector<std::int32_t> flat(100, 7);
    DisplayThresholds t;
    ThresholdsFromPercent(ints(flat, 7, 7), 0.02f, 0.02f, t);
    EXPECT_EQ(t.lower.intValue, 7);
    EXPECT_EQ(t.upper.intValue, 262);
    EXPECT_EQ(greys(ints(flat, 7, 7), t), std::vector<int>(100, 0));  // black

    // The full 32-bit range, without overflow.
    const std::vector<std::int32_t> extremes = {-2147483647 - 1, 0, 2147483647};
    ThresholdsFromPercent(ints(extremes, -2147483647 - 1, 2147483647), 0.0f, 0.0f, t);
    EXPECT_EQ(t.lower.intValue, -2147483647 - 1);
    EXPECT_EQ(t.upper.intValue, 2147483647);
    EXPECT_EQ(t.upper.valueText, "2147483647");

    // Float images keep float values and their general text.
    std::vector<float> f(4096);
    for (std::size_t k = 0; k < f.size(); ++k)
        f[k] = static_cast<float>(k) * 0.5f;
    ThresholdsFromPercent(floats(f, 0.0f, 2047.5f), 10.0f, 10.0f, t);
    EXPECT_EQ(t.lower.floatValue, 205.0f);
    EXPECT_EQ(t.upper.floatValue, 1842.5f);
    EXPECT_EQ(t.lower.valueText, "205");
    EXPECT_EQ(t.upper.valueText, "1842.5");

    // A NaN pixel counts in no bin and the thresholds stay numbers.
    std::vector<float> withNaN = {kNaN, 1.0f, 2.0f, 3.0f};
    ThresholdsFromPercent(floats(withNaN, 1.0f, 3.0f), 0.0f, 0.0f, t);
    EXPECT_EQ(t.lower.floatValue, 1.0f);
    EXPECT_EQ(t.upper.floatValue, 3.0f);
}

TEST(PercentFromThresholdValues, KnownAnswers)
{
    const std::vector<std::int32_t> r = ramp(4096);
    DisplayThresholds t = intThresholds(410, 3685);
    PercentFromThresholds(ints(r, 0, 4095), t);
    EXPECT_EQ(t.lower.percentText, "10.01");  // 410 of 4096
    EXPECT_EQ(t.upper.percentText, "10.01");

    t = intThresholds(-5, 5000);  // outside the range: the end bins
    PercentFromThresholds(ints(r, 0, 4095), t);
    EXPECT_EQ(t.lower.percentText, "0.00");
    EXPECT_EQ(t.upper.percentText, "0.00");

    // Float images count the upper side as a plain sum from its bin.
    std::vector<float> f(r.begin(), r.end());
    t = floatThresholds(410.0f, 3685.0f);
    t.lower.percent = 1.0f;
    PercentFromThresholds(floats(f, 0.0f, 4095.0f), t);
    EXPECT_EQ(t.lower.percentText, "10.01");
    EXPECT_EQ(t.upper.percentText, "10.03");  // 411 of 4096
    EXPECT_EQ(t.lower.percent, 1.0f);         // the numeric figure is not touched
}

TEST(GreyMapping, IntegerPixels)
{
    const std::vector<std::int32_t> v = {9, 10, 13, 15, 20, 21};
    EXPECT_EQ(greys(ints(v, 0, 30), intThresholds(10, 20)), (std::vector<int>{0, 0, 76, 128, 255, 255}));

    // lo = hi: the span falls back to the range; equal pixels are 0.
    EXPECT_EQ(greys(ints(v, 0, 30), intThresholds(15, 15)), (std::vector<int>{0, 0, 0, 0, 255, 255}));

    // A flat image with both sides Off has a span of 0: grey 0, no failure.
    const std::vector<std::int32_t> flat = {7, 7};
    EXPECT_EQ(greys(ints(flat, 7, 7), intThresholds(7, 7)), (std::vector<int>{0, 0}));

    // Products beyond 32 bits.
    const std::vector<std::int32_t> wide = {-2000000000, 0, 2000000000};
    EXPECT_EQ(greys(ints(wide, -2000000000, 2000000000), intThresholds(-2000000000, 2000000000)),
              (std::vector<int>{0, 128, 255}));
}

TEST(GreyMapping, FloatPixels)
{
    const std::vector<float> v = {-0.5f, 0.0f, 0.25f, 0.5f, 1.0f, 1.5f, kNaN, kInf, -kInf};
    EXPECT_EQ(greys(floats(v, -1.0f, 2.0f), floatThresholds(0.0f, 1.0f)),
              (std::vector<int>{0, 0, 64, 128, 255, 255, 0, 0, 0}));

    // Spans beyond the float range and far below one.
    const std::vector<float> huge = {-3e38f, 0.0f, 3e38f};
    EXPECT_EQ(greys(floats(huge, -3e38f, 3e38f), floatThresholds(-3e38f, 3e38f)), (std::vector<int>{0, 128, 255}));
    const std::vector<float> tiny = {0.0f, 1e-17f, 2e-17f};
    EXPECT_EQ(greys(floats(tiny, 0.0f, 2e-17f), floatThresholds(0.0f, 2e-17f)), (std::vector<int>{0, 128, 255}));

    const std::vector<float> flat = {0.5f, 0.5f};
    EXPECT_EQ(greys(floats(flat, 0.5f, 0.5f), floatThresholds(0.5f, 0.5f)), (std::vector<int>{0, 0}));
}

TEST(GreyMapping, LargeImagesMapAsSmallOnesDo)
{
    // 150 copies of a ramp: large enough to be split between threads.
    const std::vector<std::int32_t> small = ramp(4096);
    std::vector<std::int32_t> large;
    for (int copy = 0; copy < 150; ++copy)
        large.insert(large.end(), small.begin(), small.end());
    const DisplayHistogram h = histogramOf(ints(large, 0, 4095));
    EXPECT_TRUE(std::all_of(h.begin(), h.end(), [](std::int32_t n) { return n == 150; }));

    const DisplayThresholds t = intThresholds(100, 4000);
    const std::vector<int> one = greys(ints(small, 0, 4095), t);
    const std::vector<int> all = greys(ints(large, 0, 4095), t);
    ASSERT_EQ(all.size(), large.size());
    for (std::size_t k = 0; k < all.size(); ++k)
        ASSERT_EQ(all[k], one[k % one.size()]) << k;

    std::vector<float> largeFloat(large.begin(), large.end());
    const DisplayHistogram hf = histogramOf(floats(largeFloat, 0.0f, 4095.0f));
    EXPECT_TRUE(std::all_of(hf.begin(), hf.end(), [](std::int32_t n) { return n == 150; }));
}

TEST(GreyMapping, ImagesWithManyPixelsPerValueMapEachValueAlike)
{
    // More pixels than values: integer images are then mapped through per-value tables. Every
    // value, also those outside the header's range, must map as it does in a one-pixel image.
    struct Case {
        std::int32_t min, max, lo, hi;
    };
    const Case cases[] = {{0, 30, 10, 20}, {0, 30, 15, 15}, {7, 7, 7, 7}, {-5, 40, -5, 40}, {100, 65635, 200, 60000}};
    for (const Case& c : cases) {
        std::vector<std::int32_t> values;
        for (std::int64_t v = c.min - 3; v <= c.max + 3; v += 1 + (c.max - c.min) / 500)
            values.push_back(static_cast<std::int32_t>(v));
        std::vector<std::int32_t> many;
        for (int copy = 0; copy < 200; ++copy)
            many.insert(many.end(), values.begin(), values.end());
        const DisplayThresholds t = intThresholds(c.lo, c.hi);
        const std::vector<int> all = greys(ints(many, c.min, c.max), t);
        const DisplayHistogram h = histogramOf(ints(many, c.min, c.max));
        DisplayHistogram expected{};
        for (std::size_t k = 0; k < values.size(); ++k) {
            const std::vector<std::int32_t> one = {values[k]};
            EXPECT_EQ(all[k], greys(ints(one, c.min, c.max), t)[0]) << values[k] << " in " << c.min << ".." << c.max;
            expected[static_cast<std::size_t>(binOf(ints(one, c.min, c.max)))] += 200;
        }
        EXPECT_EQ(h, expected) << c.min << ".." << c.max;
    }
}

TEST(GreyMapping, Inversion)
{
    std::vector<std::uint8_t> b = {0, 0, 0, 0, 10, 10, 10, 0, 255, 255, 255, 0};
    InvertDisplayBuffer(b);
    EXPECT_EQ(b, (std::vector<std::uint8_t>{255, 255, 255, 0, 245, 245, 245, 0, 0, 0, 0, 0}));
}

TEST_F(LogicTest, RefreshDisplayWritesTheBitmap)
{
    ImageStore& image = state.image;
    image.width = 2;
    image.height = 2;
    image.intPixels = {0, 10, 20, 30};
    image.intMin = 0;
    image.intMax = 30;
    state.displayThresholds = intThresholds(10, 20);

    struct Case {
        bool invertDisplay, invertIntensity;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {false, false, {0, 0, 255, 255}},
        {true, false, {255, 255, 0, 0}},  // below the lower threshold shows white
        {false, true, {255, 255, 0, 0}},
        {true, true, {0, 0, 255, 255}},  // the two flags cancel
    };
    for (const Case& c : cases) {
        state.inversion.invertDisplay = c.invertDisplay;
        state.inversion.invertIntensity = c.invertIntensity;
        ASSERT_TRUE(RefreshDisplay(state, messages));
        const Bytes b = readBytes(file("Pic.Bmp"));
        ASSERT_EQ(b.size(), 54u + 16u);
        std::vector<int> g;
        for (std::size_t k = 54; k < b.size(); k += 4)
            g.push_back(b[k]);
        EXPECT_EQ(g, c.expected);
    }
    EXPECT_TRUE(messages.empty());

    state.workFolder = file("gone");
    EXPECT_FALSE(RefreshDisplay(state, messages));
    EXPECT_EQ(messages, Messages{"Error - when opening temporary Bmp file"});
}
