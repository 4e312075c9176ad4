#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "ImageFixture.h"
#include "gDataRoI.h"

using namespace kestrova;

namespace {

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

RoIRecord regions(RoIRect roi1, bool roi1On, RoIRect roi2, bool roi2On, bool subtract = true)
{
    RoIRecord roi;
    roi.RoI1 = roi.RoI1Shown = roi1;
    roi.RoI2 = roi.RoI2Shown = roi2;
    roi.RoI1On = roi1On;
    roi.RoI2On = roi2On;
    roi.Subtract = subtract;
    return roi;
}

RegionArray build(const ProgramState& state, const RoIRecord& roi)
{
    ResultFlags flags;
    RegionArray region;
    BuildRegion(state.image, roi, flags, region);
    EXPECT_TRUE(flags.regionBuilt);
    return region;
}

}  // namespace

TEST(PlaceRoI2, TouchingOverlappingAndTooSmall)
{
    const RoIRect roi1{10, 20, 50, 40};
    struct Case {
        std::int32_t top;
        PlaceRoI2Status status;
        std::int32_t bottom;
    } cases[] = {
        {70, PlaceRoI2Status::Accepted, 50}, {60, PlaceRoI2Status::Accepted, 40},  // rows touch
        {40, PlaceRoI2Status::Accepted, 20},                                       // exactly on RoI1
        {45, PlaceRoI2Status::Overlap, 25},  {25, PlaceRoI2Status::Overlap, 5},
        {15, PlaceRoI2Status::TooSmall, 1},  {101, PlaceRoI2Status::AboveImage, 1},
    };
    for (const Case& c : cases) {
        const PlaceRoI2Result r = PlaceRoI2(roi1, c.top, 100);
        EXPECT_EQ(r.status, c.status) << c.top;
        EXPECT_EQ(r.bottomRow, c.bottom) << c.top;
    }
}

TEST(BuildRegion, IntegerPixelsCombineInSixtyFourBitsAndSaturate)
{
    ProgramState state;
    // 3 x 2: bottom row, then top row.
    loadImage(state, 3, 2, std::vector<std::int32_t>{kIntMax, kIntMin, 5, -1, 1, 5});
    struct Case {
        RoIRecord roi;
        std::vector<std::int32_t> pixels;
        std::int32_t min, max;
        bool roi2Used;
    } cases[] = {
        {regions({1, 1, 3, 1}, true, {1, 2, 3, 2}, true, true), {kIntMax, kIntMin, 0}, kIntMin, kIntMax, true},
        {regions({1, 1, 3, 1}, true, {1, 2, 3, 2}, true, false),
         {kIntMax - 1, kIntMin + 1, 10},
         kIntMin + 1,
         kIntMax - 1,
         true},
        {regions({1, 2, 3, 2}, true, {1, 1, 3, 1}, true, true), {kIntMin, kIntMax, 0}, kIntMin, kIntMax, true},
        // RoI1 off: RoI2 takes no part. RoI2's band above the image: none either.
        {regions({1, 1, 3, 1}, false, {1, 2, 3, 2}, true), {kIntMax, kIntMin, 5}, kIntMin, kIntMax, false},
        {regions({1, 2, 3, 2}, true, {1, 3, 3, 3}, true), {-1, 1, 5}, -1, 5, false},
        // Corners out of order and outside the image: ordered, then brought inside.
        {regions({9, 2, -4, 0}, false, {1, 1, 3, 2}, false), {kIntMax, kIntMin, 5, -1, 1, 5}, kIntMin, kIntMax, false},
        {regions({3, 1, 3, 2}, true, {3, 1, 3, 2}, true, true), {0, 0}, 0, 0, true},  // RoI2 on RoI1
    };
    for (const Case& c : cases) {
        const RegionArray region = build(state, c.roi);
        EXPECT_EQ(region.intPixels, c.pixels);
        EXPECT_EQ(region.intMin, c.min);
        EXPECT_EQ(region.intMax, c.max);
        EXPECT_EQ(region.HasRange, c.min != c.max);
        EXPECT_EQ(region.builtRoI2On, c.roi2Used);
        EXPECT_EQ(static_cast<std::size_t>(region.width) * region.height, c.pixels.size());
        EXPECT_EQ(region.header.imageSize, c.pixels.size() * 4);
    }
}

TEST(BuildRegion, WideRowsMatchSixtyFourBitArithmetic)
{
    // 37 columns: whole blocks of elements and a remainder, extremes in every position.
    const std::int32_t width = 37;
    const std::int32_t edges[] = {kIntMax, kIntMin, -1, 0, 1, kIntMax - 1, kIntMin + 1, 1 << 30, -(1 << 30)};
    std::vector<std::int32_t> pixels;
    for (std::int32_t i = 0; i < 2 * width; ++i)
        pixels.push_back(edges[(i * 7 + i / width) % 9]);
    ProgramState state;
    loadImage(state, width, 2, pixels);
    for (const bool subtract : {true, false}) {
        const RegionArray region = build(state, regions({1, 2, width, 2}, true, {1, 1, width, 1}, true, subtract));
        std::int64_t low = kIntMax, high = kIntMin;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::int64_t a = pixels[static_cast<std::size_t>(width + x)];
            const std::int64_t b = pixels[static_cast<std::size_t>(x)];
            const std::int64_t expected = std::clamp<std::int64_t>(subtract ? a - b : a + b, kIntMin, kIntMax);
            EXPECT_EQ(region.intPixels[static_cast<std::size_t>(x)], expected) << x << (subtract ? " -" : " +");
            low = std::min(low, expected);
            high = std::max(high, expected);
        }
        EXPECT_EQ(region.intMin, low);
        EXPECT_EQ(region.intMax, high);
    }

    // Floats: a NaN or an infinity in any position is passed over by the range.
    for (std::int32_t at = 0; at < width; ++at) {
        std::vector<float> row(static_cast<std::size_t>(width), 1.0f);
        row[static_cast<std::size_t>(at)] = at % 2 == 0 ? kNaN : -std::numeric_limits<float>::infinity();
        row[static_cast<std::size_t>((at + 5) % width)] = 3.0f;
        loadFloatImage(state, width, 1, row);
        const RegionArray region = build(state, state.roi);
        EXPECT_EQ(region.floatMin, 1.0f) << at;
        EXPECT_EQ(region.floatMax, 3.0f) << at;
    }
}

TEST(BuildRegion, FloatPixelsCountOnlyFiniteValuesInTheRange)
{
    ProgramState state;
    const float inf = std::numeric_limits<float>::infinity();
    loadFloatImage(state, 3, 2, {kNaN, 2.0f, inf, 1.0f, 0.5f, 4.0f});
    const RegionArray bottom = build(state, regions({1, 1, 3, 1}, false, {}, false));
    EXPECT_TRUE(std::isnan(bottom.floatPixels[0]));  // a NaN first element does not seed the range
    EXPECT_EQ(bottom.floatMin, 2.0f);
    EXPECT_EQ(bottom.floatMax, 2.0f);
    EXPECT_FALSE(bottom.HasRange);

    const RegionArray sum = build(state, regions({1, 2, 3, 2}, true, {1, 1, 3, 1}, true, false));
    EXPECT_EQ(sum.floatPixels[1], 2.5f);
    EXPECT_EQ(sum.floatMin, 2.5f);
    EXPECT_EQ(sum.floatMax, 2.5f);

    const RegionArray difference = build(state, regions({1, 2, 3, 2}, true, {1, 1, 3, 1}, true, true));
    EXPECT_EQ(difference.floatPixels[1], -1.5f);
    EXPECT_FALSE(difference.HasRange);

    loadFloatImage(state, 1, 1, {0.0f});
    state.image.floatPixels[0] = kNaN;
    const RegionArray none = build(state, regions({1, 1, 1, 1}, false, {}, false));
    EXPECT_FALSE(none.HasRange);
}

TEST(BuildRegion, SkipsWhileBuiltAndGuardsAnEmptyStore)
{
    ProgramState state;
    loadImage(state, 2, 2, std::vector<std::int32_t>{1, 2, 3, 4});
    ResultFlags flags;
    flags.regionBuilt = true;
    RegionArray region;
    BuildRegion(state.image, state.roi, flags, region);
    EXPECT_TRUE(region.intPixels.empty());

    state.image.intPixels.resize(3);  // fewer pixels than the size says
    flags.regionBuilt = false;
    BuildRegion(state.image, state.roi, flags, region);
    EXPECT_EQ(region.width, 0);
    EXPECT_FALSE(region.HasRange);
}

TEST(RoIDialog, MessagesInOrderWithTheFieldsStoredSoFar)
{
    ProgramState state;
    loadImage(state, 100, 80, std::vector<std::int32_t>(8000, 1));
    const RoIRecord start = regions({1, 1, 100, 80}, true, {1, 1, 100, 80}, true);
    struct Case {
        RoIDialogFields typed;
        const char* message;
        RoIRect roi1;
        RoIRect roi2;
    } cases[] = {
        {{"a", "20", "50", "40", "70"}, "Region of Interest 1 - Bottom Left X is not numeric", start.RoI1, start.RoI2},
        {{"10", "", "50", "40", "70"}, "Region of Interest 1 - Bottom Left Y is not numeric", start.RoI1, start.RoI2},
        {{"10", "20", "+", "40", "70"}, "Region of Interest 1 - Top Right X is not numeric", start.RoI1, start.RoI2},
        {{"10", "20", "50", ".", "70"}, "Region of Interest 1 - Top Right Y is not numeric", start.RoI1, start.RoI2},
        {{"0", "20", "50", "40", "1e"}, "Region of Interest 2 - Top Right Y is not numeric", start.RoI1, start.RoI2},
        {{"0", "20", "50", "40", "70"},
         "Region of Interest 1 - Bottom Left X be between minimum and maximum",
         start.RoI1,
         start.RoI2},
        {{"10", "81", "50", "40", "70"},
         "Region of Interest 1 - Bottom Left Y must be between minimum and maximum",
         {10, 1, 100, 80},
         start.RoI2},
        {{"10", "20", "1e12", "40", "70"},
         "Region of Interest 1 - Top Right X must be between minimum and maximum",
         {10, 20, 100, 80},
         start.RoI2},
        {{"10", "20", "50", "-3", "70"},
         "Region of Interest 1 - Top Right Y must be between minimum and maximum",
         {10, 20, 50, 80},
         start.RoI2},
        {{"50", "20", "50", "40", "70"},
         "Region of Interst 1 - Bottom Left X must be less than Top Right X",
         {50, 20, 50, 40},
         start.RoI2},
        {{"10", "40", "50", "20", "70"},
         "Region of Interst 1 - Bottom Left Y must be less than Top Right Y",
         {10, 40, 50, 20},
         start.RoI2},
        {{"10", "20", "50", "40", "81"},
         "Region of Interest 2 - Top Right Y be between minimum and maximum",
         {10, 20, 50, 40},
         {10, 1, 50, 80}},
        {{"10", "20", "50", "40", "15"},
         "Region of Interst 2 - Top Right Y is too small",
         {10, 20, 50, 40},
         {10, 1, 50, 15}},
        {{"10", "20", "50", "40", "45"},
         "Regions of Interst 2 - must not overlap Regions of Interst 1",
         {10, 20, 50, 40},
         {10, 25, 50, 45}},
        {{"12.5", "20", "13.5", "40", "60"}, "", {12, 20, 14, 40}, {12, 40, 14, 60}},
    };
    for (const Case& c : cases) {
        const RoIDialogCheck check = ValidateRoIDialog(start, c.typed, state.calibration, 100, 80);
        EXPECT_EQ(check.message, c.message);
        EXPECT_EQ(check.ok, std::string(c.message).empty());
        EXPECT_EQ(check.roi.RoI1, c.roi1) << c.message;
        EXPECT_EQ(check.roi.RoI1Shown, c.roi1) << c.message;
        EXPECT_EQ(check.roi.RoI2, c.roi2) << c.message;
        // Whatever was stored, the region stays inside the image.
        const RegionArray region = build(state, check.roi);
        EXPECT_LE(region.builtRoI1.TopRightX, 100);
        EXPECT_EQ(region.intPixels.size(), static_cast<std::size_t>(region.width) * region.height);
    }
    // The fields are rewritten as stored; on success the region size follows RoI1.
    const RoIDialogCheck ok = ValidateRoIDialog(start, {"12.5", "20", "13.5", "40", "60"}, state.calibration, 100, 80);
    EXPECT_EQ(ok.fields.roi1BottomLeftX, "12");
    EXPECT_EQ(ok.fields.roi1TopRightX, "14");
    EXPECT_EQ(ok.fields.roi2BottomLeftY, "40");
    EXPECT_EQ(ok.fields.roi2TopRightX, "14");
    EXPECT_EQ(ok.roi.RegionWidth, 3);
    EXPECT_EQ(ok.roi.RegionHeight, 21);
    // With RoI2 off its top row is still checked, but not placed.
    RoIRecord off = start;
    off.RoI2On = false;
    EXPECT_TRUE(ValidateRoIDialog(off, {"10", "20", "50", "40", "15"}, state.calibration, 100, 80).ok);
}

TEST(RoIDialog, WavelengthEntries)
{
    Calibration calibration;
    calibration.calibrationLoaded = calibration.WavelengthUnits = true;
    calibration.wavelengths = {400.0f, 410.0f, 420.0f, 430.0f, 440.0f, 450.0f};
    const RoIRecord start = regions({1, 1, 6, 4}, false, {1, 1, 6, 4}, false);
    struct Case {
        const char* typed;
        const char* message;
        std::int32_t pixel;
        const char* shown;
    } cases[] = {
        {"405", "", 1, "400.0"},  // between two entries: the pixel whose wavelength is not above it
        {"415", "", 2, "410.0"},
        {"440", "", 4, "430.0"},
        {"400", "Region of Interest 1 - Bottom Left X be between minimum and maximum", 1, "400"},
        {"451", "Region of Interest 1 - Bottom Left X be between minimum and maximum", 1, "451"},
    };
    for (const Case& c : cases) {
        const RoIDialogCheck check = ValidateRoIDialog(start, {c.typed, "1", "450", "4", "4"}, calibration, 6, 4);
        EXPECT_EQ(check.message, c.message) << c.typed;
        EXPECT_EQ(check.roi.RoI1.BottomLeftX, c.pixel) << c.typed;
        EXPECT_EQ(check.fields.roi1BottomLeftX, c.shown) << c.typed;
    }
    EXPECT_EQ(roiDialogFields(start, calibration).roi1TopRightX, "450.0");
    calibration.WavelengthUnits = false;
    EXPECT_EQ(roiDialogFields(start, calibration).roi1TopRightX, "6");
}

TEST(RoIMouse, DragPlaceAndReset)
{
    RoIRecord roi = regions({1, 1, 100, 80}, false, {1, 1, 100, 80}, false);
    RoIMouse mouse;
    // A drag from (60, 40) to (10, 20), the press on the image's edge kept inside.
    roiMousePress(roi, mouse, RoIMouseButton::Left, 60, 40, 100, 80);
    EXPECT_FALSE(roi.RoI1On);
    EXPECT_TRUE(roiMouseMove(roi, mouse, 10, 20, 100, 80));
    EXPECT_TRUE(roi.RoI1On);
    EXPECT_EQ(roi.RoI1, (RoIRect{10, 20, 60, 40}));
    EXPECT_TRUE(roiMouseRelease(roi, mouse, 100, 80));
    EXPECT_EQ(roi.RoI1Shown, (RoIRect{10, 20, 60, 40}));
    EXPECT_TRUE(roi.RoI2Placement);
    EXPECT_EQ(roi.RegionWidth, 51);
    EXPECT_EQ(roi.RegionHeight, 21);

    // An overlapping click is ignored silently; a click above places RoI2.
    roiMousePress(roi, mouse, RoIMouseButton::Left, 30, 45, 100, 80);
    EXPECT_FALSE(roi.RoI2On);
    EXPECT_TRUE(roi.RoI2Placement);
    EXPECT_FALSE(roiMouseMove(roi, mouse, 31, 46, 100, 80));
    EXPECT_TRUE(roiMouseRelease(roi, mouse, 100, 80));
    roiMousePress(roi, mouse, RoIMouseButton::Left, 30, 70, 100, 80);
    EXPECT_TRUE(roi.RoI2On);
    EXPECT_FALSE(roi.RoI2Placement);
    EXPECT_EQ(roi.RoI2, (RoIRect{10, 50, 60, 70}));
    EXPECT_EQ(roi.RoI2Shown, roi.RoI2);
    EXPECT_TRUE(roiMouseRelease(roi, mouse, 100, 80));

    // A single-row drag, begun outside the image, resets both regions.
    roiMousePress(roi, mouse, RoIMouseButton::Other, 0, 0, 100, 80);
    EXPECT_FALSE(roi.RoI2On);
    roiMouseMove(roi, mouse, 140, 1, 100, 80);
    EXPECT_EQ(roi.RoI1, (RoIRect{1, 1, 100, 1}));
    EXPECT_TRUE(roiMouseRelease(roi, mouse, 100, 80));
    EXPECT_EQ(roi.RoI1, RoIRect::whole(100, 80));
    EXPECT_EQ(roi.RoI2Shown, RoIRect::whole(100, 80));
    EXPECT_FALSE(roi.RoI1On || roi.RoI2On || roi.RoI2Placement);
    EXPECT_FALSE(roiMouseRelease(roi, mouse, 100, 80));  // no press, nothing to refresh
}
