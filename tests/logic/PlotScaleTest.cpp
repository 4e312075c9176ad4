// The scales of the projection plots: steps, formats, Y scaling, wavelength ticks, the curve's
// steps and the read-out position.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gDataPlotGeometry.h"
#include "gDataScale.h"

using namespace kestrova;

namespace {

ProjectionLimits meanLimits(double lo, double hi)
{
    ProjectionLimits limits;
    limits.meanLo = lo;
    limits.meanHi = hi;
    return limits;
}

Calibration calibrationOf(std::int32_t width, double (*lambda)(std::int32_t))
{
    Calibration calibration;
    calibration.calibrationLoaded = calibration.WavelengthUnits = true;
    for (std::int32_t x = 1; x <= width; ++x)
        calibration.wavelengths.push_back(static_cast<float>(lambda(x)));
    return calibration;
}

}  // namespace

TEST(PlotScale, StepTableAndItsContinuation)
{
    EXPECT_EQ(AxisStepTable().size(), 23u);
    EXPECT_EQ(AxisStepTable().back(), 50000000);
    const std::pair<double, double> cases[] = {
        {-3, 2},    {0, 2},          {4, 2},     {5, 5},     {99, 50},       {1229, 1000},
        {5e7, 5e7}, {99999999, 5e7}, {1e8, 1e8}, {3e8, 2e8}, {7.2e12, 5e12}, {2.5e20, 2e20},
    };
    for (const auto& [r, step] : cases)
        EXPECT_EQ(NiceStep(r), step) << r;
}

TEST(PlotScale, FormatsByMagnitude)
{
    const std::tuple<float, const char*, const char*> cases[] = {
        {4e12f, "0.0###E+###", "0.0E+###"},
        {100000, "0.0###E+###", "0.0E+###"},
        {99999, "####0", "####0"},
        {1000, "###0.0", "###0"},
        {100, "##0.0#", "##0"},
        {10, "#0.0##", "#0"},
        {5, "#0.0##", "0"},
        {0.1f, "0.0###", "0.0"},
        {0.05f, "0.0###E+###", "0.0E+###"},
    };
    for (const auto& [m, readout, tick] : cases) {
        EXPECT_STREQ(FormatsByMagnitude(m).readoutFormat, readout) << m;
        EXPECT_STREQ(FormatsByMagnitude(m).tickFormat, tick) << m;
    }
}

TEST(PlotScale, YScaling)
{
    struct Case {
        const char* name;
        double lo, hi;
        double yMult, yStep, yLoS, yHiS;
        std::vector<double> ticks;
    };
    const Case cases[] = {
        {"-5..3", -5, 3, 1, 2, -5, 3, {-4, -2, 0, 2}},
        {"0.02..0.05", 0.02, 0.05, 1000, 5, 20, 50, {20, 25, 30, 35, 40, 45, 50}},
        {"zero range", 7, 7, 10, 2, 69, 71, {70}},
        {"32-bit Sum",
         -8796093022208.0,
         8796093022208.0,
         1,
         2e12,
         -8796093022208.0,
         8796093022208.0,
         {-8e12, -6e12, -4e12, -2e12, 0, 2e12, 4e12, 6e12, 8e12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectionLimits limits = meanLimits(c.lo, c.hi);
        Messages messages;
        const PlotScale scale = SetScales(limits, 1, 100, nullptr, messages);
        EXPECT_EQ(limits.plotLo, c.lo);
        EXPECT_EQ(scale.yMult, c.yMult);
        EXPECT_EQ(scale.yStep, c.yStep);
        EXPECT_EQ(scale.yLoS, c.yLoS);
        EXPECT_EQ(scale.yHiS, c.yHiS);
        EXPECT_EQ(scale.yRange, c.yHiS - c.yLoS);
        EXPECT_EQ(YTicks(scale), c.ticks);
        EXPECT_TRUE(messages.empty());
    }
    ProjectionLimits limits = meanLimits(-5, 3);
    Messages messages;
    const PlotScale scale = SetScales(limits, 1, 100, nullptr, messages);
    EXPECT_EQ(scale.readoutFormat, "#0.0##");
    EXPECT_EQ(scale.tickFormat, "0");
}

TEST(PlotScale, PixelAxis)
{
    struct Case {
        std::int32_t first, last;
        std::int32_t x1, step;
        std::vector<std::int32_t> ticks;
    };
    const Case cases[] = {
        {5, 14, 25, 2, {6, 8, 10, 12, 14, 16, 18, 20, 22, 24}},  // 10 columns: the axis runs past them
        {1, 6144, 6144, 1000, {1000, 2000, 3000, 4000, 5000, 6000}},
        {101, 116, 116, 2, {102, 104, 106, 108, 110, 112, 114, 116}},
    };
    for (const Case& c : cases) {
        ProjectionLimits limits = meanLimits(0, 1);
        Messages messages;
        const PlotScale scale = SetScales(limits, c.first, c.last, nullptr, messages);
        EXPECT_EQ(scale.x0, c.first);
        EXPECT_EQ(scale.x1, c.x1);
        EXPECT_EQ(scale.span, c.x1 - c.first);
        EXPECT_EQ(scale.pixelStep, c.step);
        EXPECT_EQ(PixelTicks(scale), c.ticks);
    }
}

TEST(PlotScale, WavelengthTicks)
{
    const Calibration calibration = calibrationOf(301, [](std::int32_t x) { return 399.0 + x; });
    ProjectionLimits limits = meanLimits(0, 1);
    Messages messages;
    const PlotScale scale = SetScales(limits, 1, 301, &calibration, messages);
    EXPECT_TRUE(messages.empty());
    ASSERT_TRUE(scale.wavelengthMode);
    EXPECT_EQ(scale.wStep, 50);
    EXPECT_EQ(scale.wFirst, 450);
    EXPECT_EQ(scale.wLast, 700);
    const auto ticks = WavelengthTicks(scale, calibration.wavelengths);
    ASSERT_EQ(ticks.size(), 6u);
    EXPECT_EQ(ticks.front().value, 450);
    EXPECT_DOUBLE_EQ(ticks.front().position, 51.0);
    EXPECT_EQ(ticks.back().value, 700);
    EXPECT_DOUBLE_EQ(ticks.back().position, 301.0);
}

TEST(PlotScale, UnusableCalibrationRevertsToPixels)
{
    const std::pair<const char*, double (*)(std::int32_t)> cases[] = {
        {"decreasing", [](std::int32_t x) { return 700.0 - x; }},
        {"step below 3", [](std::int32_t x) { return 400.0 + 0.01 * x; }},
        {"not finite", [](std::int32_t x) { return x == 50 ? std::numeric_limits<double>::quiet_NaN() : 400.0 + x; }},
        {"beyond 32 bits", [](std::int32_t x) { return 1e12 + 1e10 * x; }},
    };
    for (const auto& [name, lambda] : cases) {
        SCOPED_TRACE(name);
        const Calibration calibration = calibrationOf(100, lambda);
        ProjectionLimits limits = meanLimits(0, 1);
        Messages messages;
        const PlotScale scale = SetScales(limits, 1, 100, &calibration, messages);
        EXPECT_FALSE(scale.wavelengthMode);
        EXPECT_EQ(messages, Messages{kWavelengthRevertMessage});
        EXPECT_EQ(scale.pixelStep, 20);
    }
    Calibration pixels = calibrationOf(100, [](std::int32_t x) { return 700.0 - x; });
    pixels.WavelengthUnits = false;
    ProjectionLimits limits = meanLimits(0, 1);
    Messages messages;
    EXPECT_FALSE(SetScales(limits, 1, 100, &pixels, messages).wavelengthMode);
    EXPECT_TRUE(messages.empty());
}

TEST(PlotScale, StepOutlineClampsToTheFrame)
{
    Projection projection;
    projection.first = 3;
    projection.sum = projection.mean = {1, 5, 3};
    ProjectionLimits limits = meanLimits(2, 4);
    Messages messages;
    PlotScale scale = SetScales(limits, 3, 5, nullptr, messages);
    const PlotGeometry g = PlotGeometryFor(scale, 1000, 1000);
    EXPECT_EQ(g.plotLeft, 150);
    EXPECT_EQ(g.plotW, 700);
    EXPECT_EQ(g.half, 18);  // 17.5, halves to even
    const std::vector<PlotPoint> expected{{132, 850}, {132, 850}, {168, 850}, {168, 150},
                                          {203, 150}, {203, 500}, {238, 500}, {238, 850}};
    EXPECT_EQ(StepOutline(scale, g, projection, true), expected);

    scale.geometry = g;
    const std::pair<double, std::optional<std::int32_t>> reads[] = {
        {150, std::nullopt}, {185.7, 4}, {220, 5}, {237, 5}, {300, std::nullopt}, {850, std::nullopt}};
    for (const auto& [x, p] : reads)
        EXPECT_EQ(ReadoutPosition(scale, x), p) << x;
}

TEST(PlotScale, FlatCurveSitsInsideTheFrame)
{
    Projection projection;
    projection.first = 1;
    projection.sum = projection.mean = std::vector<double>(30, 7.0);
    ProjectionLimits limits = meanLimits(7, 7);
    Messages messages;
    const PlotScale scale = SetScales(limits, 1, 30, nullptr, messages);
    const PlotGeometry g = PlotGeometryFor(scale, 1000, 1000);
    const auto outline = StepOutline(scale, g, projection, true);
    EXPECT_EQ(outline[1].y, 500);
    EXPECT_EQ(outline[outline.size() - 2].y, 500);
}

TEST(PlotScale, Titles)
{
    EXPECT_EQ(PlotTitle("run7", ".fits"), "File name: run7.fits");
    EXPECT_EQ(PlotYTitle(true, false, true, true), "Mean Intensity");
    EXPECT_EQ(PlotYTitle(false, true, false, true), "Sum Intensity RoI1");
    EXPECT_EQ(PlotYTitle(true, true, true, true), "Mean Intensity RoI1 - RoI2");
    EXPECT_EQ(PlotYTitle(true, true, true, false), "Mean Intensity RoI1 + RoI2");
}
