#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "LogicFixture.h"
#include "gDataHistogram.h"
#include "gDataHistogramPlot.h"

using namespace kestrova;

namespace {

int binOf(std::int32_t value, std::int32_t min, std::int32_t max)
{
    const std::vector<std::int32_t> one{value};
    RegionHistogram h;
    computeRegionHistogram(ints(one, min, max), h);
    for (int b = 0; b < kRegionBins; ++b)
        if (h.counts[static_cast<std::size_t>(b)] == 1)
            return b;
    return -1;
}

RegionHistogram countsBetween(std::int32_t smallest, std::int32_t largest)
{
    RegionHistogram h;
    for (std::size_t b = 0; b < h.counts.size(); ++b) {
        h.counts[b] = b % 2 ? smallest : largest;
        h.logCounts[b] = static_cast<float>(std::log(h.counts[b] + 1.0));
    }
    return h;
}

}  // namespace

TEST(RegionHistogram, BinsRoundHalvesToEvenWithoutOverflow)
{
    struct Case {
        std::int32_t value, min, max;
        int bin;
    };
    const Case cases[] = {
        {1, 0, 510, 0},  // 0.5
        {3, 0, 510, 2},  // 1.5
        {5, 0, 510, 2},  // 2.5
        {510, 0, 510, 255},
        {0, 0, 510, 0},
        // (v - minimum) * 255 beyond 32 bits: 127.5 rounds to 128.
        {0, -2000000000, 2000000000, 128},
        {2000000000, -2000000000, 2000000000, 255},
        {-5, -5, 255, 0},
        // A flat region uses the range 255.
        {7, 7, 7, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(binOf(c.value, c.min, c.max), c.bin) << c.value << " in " << c.min << ".." << c.max;
}

TEST(RegionHistogram, FloatBinsAndNonFiniteValues)
{
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> v{0.0f, 1.0f, 3.0f, 510.0f, std::nanf(""), inf, -inf};
    RegionHistogram h;
    computeRegionHistogram(floats(v, 0.0f, 510.0f), h);
    EXPECT_EQ(h.counts[0], 5);  // 0, 1 (0.5) and the three non-finite values
    EXPECT_EQ(h.counts[2], 1);
    EXPECT_EQ(h.counts[255], 1);
    EXPECT_FLOAT_EQ(h.logCounts[0], std::log(6.0f));
    EXPECT_FLOAT_EQ(h.logCounts[1], 0.0f);
}

TEST(RegionHistogram, LargeRegionAgreesWithTheSingleValueRule)
{
    // Large enough for the table and the two-thread paths; one out-of-range value too.
    std::vector<std::int32_t> v(300000);
    for (std::size_t k = 0; k < v.size(); ++k)
        v[k] = static_cast<std::int32_t>((k * 7919) % 1021);
    RegionHistogram h;
    computeRegionHistogram(ints(v, 0, 1020), h);
    RegionHistogram expected;
    for (const std::int32_t value : v)
        ++expected.counts[static_cast<std::size_t>(binOf(value, 0, 1020))];
    EXPECT_EQ(h.counts, expected.counts);
}

TEST(RegionHistogram, CountScalesOfBothModes)
{
    struct Case {
        std::int32_t smallest, largest;
        bool linear;
        float yScale;
        std::int32_t yStep, yMin, yMax;
    };
    const Case cases[] = {
        {3, 5, true, 10.0f, 5, 30, 51},       // ticks 30, 35, ... 50 labelled 3, 3.5, ... 5
        {0, 1000, true, 1.0f, 200, 0, 1001},  // target 250
        {7, 7, true, 10.0f, 2, 70, 71},       // a flat histogram spans 1
        {0, 99, false, 10.0f, 10, 0, 47},     // ln 100 = 4.605: r = 46.05, target 12
        {0, 0, false, 10.0f, 2, 0, 1},        // all bins at ln 1 = 0
    };
    for (const Case& c : cases) {
        const HistogramScales s = histogramScalesFor(countsBetween(c.smallest, c.largest), c.linear);
        EXPECT_EQ(s.yScale, c.yScale) << c.smallest << ".." << c.largest;
        EXPECT_EQ(s.yStep, c.yStep) << c.smallest << ".." << c.largest;
        EXPECT_EQ(s.yMin, c.yMin) << c.smallest << ".." << c.largest;
        EXPECT_EQ(s.yMax, c.yMax) << c.smallest << ".." << c.largest;
        EXPECT_EQ(s.yRange, c.yMax - c.yMin);
        EXPECT_EQ(s.xStep, 50);
    }
}

TEST(RegionHistogram, FormatsByTheLargestCount)
{
    struct Case {
        std::int32_t largest;
        const char* readout;
        const char* tick;
    };
    const Case cases[] = {
        {9, "0", "0"},          {10, "#0", "#0"},          {999, "##0", "##0"},
        {9999, "###0", "###0"}, {99999, "####0", "####0"}, {100000, "0.0###E+###", "0.0E+###"},
    };
    for (const Case& c : cases) {
        const HistogramScales s = histogramScalesFor(countsBetween(0, c.largest), false);
        EXPECT_EQ(s.readoutFormat, c.readout) << c.largest;
        EXPECT_EQ(s.tickFormat, c.tick) << c.largest;
    }
}

TEST(RegionHistogram, MarkersOnlyInsideTheRangeAndWithoutRoI2)
{
    const std::vector<std::int32_t> v{0, 510};
    const PixelSource p = ints(v, 0, 510);
    RegionArray region;
    DisplayThresholds display;
    display.lower.intValue = 2;
    display.upper.intValue = 600;  // beyond the region's maximum
    DataThresholds data;
    data.lower.intValue = 0;
    data.upper.intValue = 510;
    HistogramSettings settings;

    auto markers = histogramMarkers(p, region, settings, display, data, "###0");
    ASSERT_EQ(markers.size(), 1u);
    EXPECT_EQ(markers[0].label, "Display Lo 2");
    EXPECT_DOUBLE_EQ(markers[0].x, 1.0);

    settings.MarkDataThresholds = true;
    markers = histogramMarkers(p, region, settings, display, data, "###0");
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[1].label, "Data Hi 510");
    EXPECT_DOUBLE_EQ(markers[1].x, 255.0);

    region.builtRoI2On = true;
    EXPECT_TRUE(histogramMarkers(p, region, settings, display, data, "###0").empty());
    EXPECT_EQ(histogramYTitle(false, true, region), "Number of Pixels (Log Scale) RoI1 - RoI2");
    region.builtSubtract = false;
    EXPECT_EQ(histogramYTitle(true, true, region), "Number of Pixels (Lin Scale) RoI1 + RoI2");
}

TEST(RegionHistogram, ReadOutAndValuesFile)
{
    const std::vector<std::int32_t> v{0, 510, 510};
    const PixelSource p = ints(v, 0, 510);
    RegionHistogram h;
    computeRegionHistogram(p, h);
    const HistogramScales s = histogramScalesFor(h, true);

    const HistogramGeometry g = histogramGeometry(1000.0, 500.0);
    EXPECT_EQ(g.plotLeft, 150);
    EXPECT_EQ(g.plotWidth, 700);
    EXPECT_EQ(g.plotTop, 100);
    EXPECT_EQ(g.plotHeight, 300);
    EXPECT_EQ(g.halfBin, 1);
    EXPECT_FALSE(histogramBinAt(150.0, g));
    EXPECT_FALSE(histogramBinAt(850.0, g));
    EXPECT_FALSE(histogramBinAt(849.6, g));                        // rounds to the plot's right edge
    EXPECT_EQ(histogramBinAt(500.0, g), std::optional<int>{128});  // 127.5
    EXPECT_EQ(histogramBinAt(849.0, g), std::optional<int>{255});

    const HistogramReadOut r = histogramReadOut(p, h, s, 255, "###0");
    EXPECT_EQ(r.intensity, "510");
    EXPECT_EQ(r.count, "2");
    EXPECT_EQ(histogramReadOut(p, h, s, 1, "###0").intensity, "2");

    const std::string text = histogramValuesText(h);
    EXPECT_EQ(text.substr(0, 10), "0,1\r\n1,0\r\n");
    EXPECT_EQ(text.substr(text.size() - 14), "254,0\r\n255,2\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 256);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 256);
}

TEST(RegionHistogram, PlotPositions)
{
    const HistogramGeometry g = histogramGeometry(1000.0, 500.0);
    const HistogramScales lin = histogramScalesFor(countsBetween(3, 5), true);
    std::vector<std::int32_t> ys;
    std::vector<std::string> labels;
    std::vector<bool> grids;
    for (const HistogramTick& t : histogramYTicks(lin, g)) {
        ys.push_back(t.y);
        labels.push_back(t.label);
        grids.push_back(t.grid);
    }
    // 30, 35, ... 50 on an axis from 30 to 51 (yScale 10): each label reads its own value.
    EXPECT_EQ(ys, (std::vector<std::int32_t>{400, 329, 257, 186, 114}));
    EXPECT_EQ(labels, (std::vector<std::string>{"3.0", "3.5", "4.0", "4.5", "5.0"}));
    EXPECT_EQ(grids, (std::vector<bool>{false, true, true, true, true}));
    // Bins 50 .. 200; 0 lies on the left edge and 250 within 50 units of the right one.
    EXPECT_EQ(histogramGridX(lin, g), (std::vector<std::int32_t>{287, 425, 562, 699}));

    const std::vector<PlotPoint> outline = histogramOutline(countsBetween(3, 5), lin, g, true);
    ASSERT_EQ(outline.size(), 2u * 256 + 2);
    EXPECT_EQ(outline.front(), (PlotPoint{149, 400}));
    EXPECT_EQ(outline[1], (PlotPoint{149, 114}));  // bin 0 holds 5: scaled 50 of 30..51
    EXPECT_EQ(outline[3], (PlotPoint{151, 400}));  // bin 1 holds 3: the bottom
    EXPECT_EQ(outline.back(), (PlotPoint{851, 400}));
}

TEST(RegionHistogram, ScaledTickLabelsKeepTheirDecimals)
{
    HistogramScales s;
    s.yScale = 100.0f;
    s.yMin = 300;
    s.yMax = 302;
    s.yStep = 1;
    s.yRange = 2;
    std::vector<std::string> labels;
    for (const HistogramTick& t : histogramYTicks(s, histogramGeometry(1000.0, 500.0)))
        labels.push_back(t.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"3.00", "3.01", "3.02"}));
}
