// The spectrum and profile projections, their limits and the centroid, on hand-made regions.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "AnalysisFrames.h"
#include "gDataCentroid.h"
#include "gDataLimits.h"
#include "gDataProjection.h"

using namespace kestrova;
using namespace analysisframes;

namespace {

struct Computed {
    Projections projections;
    ResultFlags flags;
};

Computed project(const ImageStore& image, const RegionArray& region, double lower, double upper, bool invert = false)
{
    Computed c;
    c.flags.regionBuilt = true;
    ComputeColumnProjection({image, region, lower, upper, invert, true}, c.flags, c.projections);
    return c;
}

}  // namespace

TEST(Projection, KnownSumsAndMeans)
{
    struct Case {
        const char* name;
        double lower, upper;
        bool invert;
        std::vector<double> columnSums, rowSums;
        std::int64_t pixelCount;
    };
    const Case cases[] = {
        {"all pixels", 0, 7, false, {5, 9, 5, 13}, {10, 8, 14}, 12},
        {"thresholds 2..5", 2, 5, false, {4, 9, 5, 6}, {9, 8, 7}, 9},
        {"inverted", 0, 7, true, {13, 9, 13, 5}, {12, 14, 8}, 12},
    };
    const ImageStore image = fourByThree();
    const RegionArray region = regionOf(image, {1, 1, 4, 3});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Computed r = project(image, region, c.lower, c.upper, c.invert);
        EXPECT_EQ(r.projections.column.sum, c.columnSums);
        EXPECT_EQ(r.projections.row.sum, c.rowSums);
        EXPECT_EQ(r.projections.column.pixelCount, c.pixelCount);
        EXPECT_EQ(r.projections.row.pixelCount, c.pixelCount);
        EXPECT_DOUBLE_EQ(r.projections.column.mean[1], c.columnSums[1] / 3);  // over every row
        EXPECT_DOUBLE_EQ(r.projections.row.mean[2], c.rowSums[2] / 4);
    }
    const Computed inverted = project(image, region, 0, 7, true);
    EXPECT_EQ(inverted.projections.column.sumMin, 5);  // the range stays as computed
    EXPECT_EQ(inverted.projections.column.sumMax, 13);
    EXPECT_DOUBLE_EQ(inverted.projections.column.meanMax, 13.0 / 3);
}

TEST(Projection, CombinedRegionTestsImageValuesAndSkipsNonFinite)
{
    // Rows 3-4 are the band, rows 1-2 the background subtracted from it.
    const ImageStore image = floatImage(3, 4, {1, 1, 1, /**/ 1, 1, 1, /**/ 10, 50, 9, /**/ 10, 20, 9});
    const RegionArray region = regionOf(image, {1, 3, 3, 4}, 1, true);
    // The threshold tests the band's own values (9 fails 10..50) and sums the differences.
    const Computed r = project(image, region, 10, 50);
    EXPECT_EQ(r.projections.column.sum, (std::vector<double>{18, 68, 0}));
    EXPECT_EQ(r.projections.column.first, 1);
    EXPECT_EQ(r.projections.row.first, 3);
    EXPECT_EQ(r.projections.row.sum, (std::vector<double>{58, 28}));
    EXPECT_EQ(r.projections.column.pixelCount, 4);

    const ImageStore withNaN = floatImage(2, 2, {1, std::nanf(""), 3, std::numeric_limits<float>::infinity()});
    const Computed n = project(withNaN, regionOf(withNaN, {1, 1, 2, 2}), -1e30, 1e30);
    EXPECT_EQ(n.projections.column.sum, (std::vector<double>{4, 0}));
    EXPECT_EQ(n.projections.column.pixelCount, 2);

    // Finite pixels whose sum overflows: the combined value is not counted.
    const ImageStore large = floatImage(2, 2, {3e38f, 1, 3e38f, 2});
    const Computed o = project(large, regionOf(large, {1, 2, 2, 2}, 1, false), -1e39, 1e39);
    EXPECT_EQ(o.projections.column.sum, (std::vector<double>{0, 3}));
    EXPECT_EQ(o.projections.column.pixelCount, 1);
}

TEST(Projection, OnePassFillsBothAndResetsLimits)
{
    const ImageStore image = fourByThree();
    const RegionArray region = regionOf(image, {1, 2, 3, 3});
    Projections projections;
    ResultFlags flags;
    projections.spectrumLimits.lowerManual = true;
    const ProjectionInput input{image, region, 0, 7, false, false};
    const ProjectionsComputed both = ComputeColumnProjection(input, flags, projections);
    EXPECT_TRUE(both.column && both.row && flags.spectrumComputed && flags.profileComputed);
    EXPECT_EQ(projections.row.first, 2);
    EXPECT_EQ(projections.column.sum, (std::vector<double>{4, 7, 2}));
    EXPECT_FALSE(projections.spectrumLimits.lowerManual);
    EXPECT_FALSE(projections.spectrumLimits.yScaleMean);
    EXPECT_EQ(projections.spectrumLimits.sumHiText, "7");
    EXPECT_EQ(projections.profileLimits.meanLoText, "2");
    EXPECT_EQ(projections.profileLimits.meanHiText, "2.33333333333333");
    const ProjectionsComputed none = ComputeRowProjection(input, flags, projections);
    EXPECT_FALSE(none.column || none.row);
    flags.profileComputed = false;
    const ProjectionsComputed rowOnly = ComputeRowProjection(input, flags, projections);
    EXPECT_TRUE(rowOnly.row && !rowOnly.column);
}

TEST(ProjectionLimits, CheckRunsOnTheEffectivePair)
{
    Projection projection;
    projection.meanMin = 2;
    projection.meanMax = 5;
    struct Case {
        bool lowerManual, upperManual;
        const char* lower;
        const char* upper;
        const char* message;  // null: accepted
        double storedLo, storedHi;
    };
    const Case cases[] = {
        {false, false, "x", "1", kLowerLimitNotNumeric, 0, 0},
        {false, false, "1", "", kUpperLimitNotNumeric, 0, 0},  // checked although Auto
        {false, false, "9", "1", nullptr, 2, 5},               // typed texts unused by Auto sides
        {true, false, "4", "0", nullptr, 4, 5},
        {true, false, "5", "9", kLimitsNotIncreasing, 0, 0},  // Manual lower at the automatic upper
        {true, true, "3", "3", kLimitsNotIncreasing, 0, 0},
        {false, true, "0", "1.5", kLimitsNotIncreasing, 0, 0},
        {true, true, "-1e3", "1e3", nullptr, -1000, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lower) + " " + c.upper);
        ProjectionLimits limits;
        limits.lowerManual = c.lowerManual;
        limits.upperManual = c.upperManual;
        Messages messages;
        const bool ok = ApplyLimits(limits, projection, c.lower, c.upper, messages);
        EXPECT_EQ(ok, c.message == nullptr);
        EXPECT_EQ(messages, c.message ? Messages{c.message} : Messages{});
        EXPECT_EQ(limits.meanLo, c.storedLo);
        EXPECT_EQ(limits.meanHi, c.storedHi);
        EXPECT_EQ(limits.meanLoText, ok ? c.lower : "");
        EXPECT_EQ(limits.sumLo, 0);  // the other pair is untouched
    }
}

TEST(Centroid, KnownCentres)
{
    struct Case {
        const char* name;
        ImageStore image;
        RoIRect rect;
        double lower, upper;
        double x, y;
    };
    const Case cases[] = {
        // Thresholds Off: X weighs means - lower, Y means - the smallest row mean.
        {"weights", fourByThree(), {1, 1, 4, 3}, 0, 7, (5 + 18 + 15 + 52) / 32.0, 2.5},
        {"one bright column", intImage(4, 2, {1, 1, 9, 1, 1, 1, 9, 1}), {1, 1, 4, 2}, 1, 9, 3, 1.5},
        {"nothing within", intImage(4, 2, {1, 1, 9, 1, 1, 1, 9, 1}), {2, 1, 4, 2}, 10, 20, 3, 1.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RegionArray region = regionOf(c.image, c.rect);
        Computed r = project(c.image, region, c.lower, c.upper);
        CentroidResult centroid;
        ComputeCentroid(r.projections, {c.lower, c.upper}, r.flags, centroid);
        EXPECT_DOUBLE_EQ(centroid.centroidX, c.x);
        EXPECT_DOUBLE_EQ(centroid.centroidY, c.y);
        EXPECT_TRUE(r.flags.centroidXComputed && r.flags.centroidYComputed);
    }
}

TEST(Centroid, CombinedRegionWeighsAgainstItsOwnRange)
{
    // A bias of 100 counts under a line at column 3; rows 1-2 are the background.
    const ImageStore image = intImage(4, 4,
                                      {100, 100, 100, 100, 100, 100, 100, 100,  //
                                       100, 100, 160, 101, 100, 100, 140, 101});
    const RegionArray region = regionOf(image, {1, 3, 4, 4}, 1, true);
    Computed r = project(image, region, 100, 160);
    const CentroidThresholds off = CentroidThresholdsFor(100, false, 160, false, region, false);
    EXPECT_EQ(off.lower, 0);
    EXPECT_EQ(off.upper, 60);
    CentroidResult centroid;
    ComputeCentroid(r.projections, off, r.flags, centroid);
    EXPECT_DOUBLE_EQ(centroid.centroidX, (3 * 50 + 4 * 1) / 51.0);

    const CentroidThresholds on = CentroidThresholdsFor(100, true, 160, true, region, false);
    EXPECT_EQ(on.lower, 100);  // a side switched On keeps its value
    const CentroidThresholds single =
        CentroidThresholdsFor(100, false, 160, false, regionOf(image, {1, 3, 4, 4}), false);
    EXPECT_EQ(single.lower, 100);
}

TEST(Centroid, WavelengthOfTheNearestColumnHalvesToEven)
{
    Calibration calibration;
    calibration.calibrationLoaded = calibration.WavelengthUnits = true;
    for (int x = 1; x <= 200; ++x)
        calibration.wavelengths.push_back(400.0f + static_cast<float>(x));
    EXPECT_EQ(CentroidWavelengthText(calibration, 100.5), "500.0");
    EXPECT_EQ(CentroidWavelengthText(calibration, 101.5), "502.0");
    EXPECT_EQ(CentroidWavelengthText(calibration, 101.49), "501.0");
    calibration.WavelengthUnits = false;
    EXPECT_EQ(CentroidWavelengthText(calibration, 100.5), "No Cal");
}
