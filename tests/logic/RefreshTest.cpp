// Which lazy results each kind of change makes stale, and which changes redraw the picture.

#include <gtest/gtest.h>

#include "gDataRefresh.h"

using namespace kestrova;

namespace {

ResultFlags allSet()
{
    return {true, true, true, true, true, true};
}

}  // namespace

TEST(Refresh, InvalidateClearsWhatDependsOnTheChange)
{
    struct Case {
        Change change;
        ResultFlags after;  // region, spectrum, profile, histogram, centroid X, centroid Y
        bool display;
    };
    const Case cases[] = {
        {Change::ImageLoaded, {}, true},
        {Change::ImageClosed, {}, false},
        {Change::Regions, {}, false},
        {Change::IntensityInverted, {true, false, false, false, false, false}, true},
        {Change::DataThresholds, {true, false, false, true, false, false}, false},
        {Change::DisplayThresholds, allSet(), true},
        {Change::DisplayInverted, allSet(), true},
        {Change::MeanSum, allSet(), false},
        {Change::SpectrumLimits, allSet(), false},
        {Change::ProfileLimits, allSet(), false},
    };
    for (const Case& c : cases) {
        ResultFlags flags = allSet();
        invalidate(flags, c.change);
        const auto name = static_cast<int>(c.change);
        EXPECT_EQ(flags.regionBuilt, c.after.regionBuilt) << name;
        EXPECT_EQ(flags.spectrumComputed, c.after.spectrumComputed) << name;
        EXPECT_EQ(flags.profileComputed, c.after.profileComputed) << name;
        EXPECT_EQ(flags.histogramComputed, c.after.histogramComputed) << name;
        EXPECT_EQ(flags.centroidXComputed, c.after.centroidXComputed) << name;
        EXPECT_EQ(flags.centroidYComputed, c.after.centroidYComputed) << name;
        EXPECT_EQ(changesDisplay(c.change), c.display) << name;
    }
}

TEST(Refresh, ChangeSetsHoldOneBitEach)
{
    EXPECT_EQ(changeSet(Change::Regions, Change::Regions), changeBit(Change::Regions));
    EXPECT_EQ(changeSet(Change::ImageLoaded, Change::ProfileLimits) & changeBit(Change::MeanSum), 0u);
    EXPECT_NE(changeSet(Change::ImageLoaded, Change::ProfileLimits) & changeBit(Change::ProfileLimits), 0u);
}
