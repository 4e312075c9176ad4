// The main window's plain arithmetic: layout in twips, the pixel under the mouse, the read-out
// texts, the printed page and the typed threshold entries.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ProgramState.h"
#include "gDataLayout.h"
#include "gDataReadOut.h"
#include "gDataThresholdEntry.h"

using namespace kestrova;

namespace {

constexpr double kBorder = 15.0;  // one pixel at 96 dots per inch

MainLayoutInput window(double width, double height, MainWindowState state, double pictureWidth = 0.0,
                       double pictureHeight = 0.0)
{
    MainLayoutInput in;
    in.innerWidth = width;
    in.innerHeight = height;
    in.state = state;
    in.pictureWidth = pictureWidth;
    in.pictureHeight = pictureHeight;
    in.viewportBorder = kBorder;
    in.pictureBorder = kBorder;
    in.fileNameWidth = 3000.0;
    in.valuesWidth = 9000.0;
    return in;
}

}  // namespace

TEST(LayoutMainWindow, TooSmallWindowsAreLeftAlone)
{
    EXPECT_FALSE(layoutMainWindow(window(1439.0, 5000.0, MainWindowState::Image, 100, 100)).applies);
    EXPECT_FALSE(layoutMainWindow(window(5000.0, 1847.0, MainWindowState::Image, 100, 100)).applies);
    EXPECT_TRUE(layoutMainWindow(window(1440.0, 1848.0, MainWindowState::Image, 100, 100)).applies);
}

TEST(LayoutMainWindow, WithoutAnImageTheViewportTakesTheLogoProportions)
{
    for (const MainWindowState state : {MainWindowState::Startup, MainWindowState::Closed}) {
        // 18000 x 13125: 16560 x 11685 available, too wide for 986 : 794.
        const MainLayout wide = layoutMainWindow(window(18000.0, 13125.0, state));
        ASSERT_TRUE(wide.applies);
        EXPECT_DOUBLE_EQ(wide.viewport.height, 11685.0);
        EXPECT_DOUBLE_EQ(wide.viewport.width, 11685.0 * 986.0 / 794.0);
        EXPECT_DOUBLE_EQ(wide.pictureWidth, wide.viewport.width - 2 * kBorder);
        EXPECT_DOUBLE_EQ(wide.pictureHeight, 11685.0 - 2 * kBorder);
        EXPECT_DOUBLE_EQ(wide.viewport.left, (18000.0 - wide.viewport.width) / 2.0);
        EXPECT_DOUBLE_EQ(wide.viewport.top, (13125.0 - 11685.0 - 720.0) / 2.0);
        EXPECT_EQ(wide.paintLogo, state == MainWindowState::Startup);
        EXPECT_FALSE(wide.horizontalVisible);
        EXPECT_FALSE(wide.verticalVisible);

        // 9000 x 20000: too tall, the height follows the width.
        const MainLayout tall = layoutMainWindow(window(9000.0, 20000.0, state));
        EXPECT_DOUBLE_EQ(tall.viewport.width, 7560.0);
        EXPECT_DOUBLE_EQ(tall.viewport.height, 7560.0 * 794.0 / 986.0);
    }
}

TEST(LayoutMainWindow, SmallPictureClosesTheViewportRoundIt)
{
    const MainLayout layout = layoutMainWindow(window(18000.0, 13125.0, MainWindowState::Image, 3000.0, 2000.0));
    ASSERT_TRUE(layout.applies);
    EXPECT_DOUBLE_EQ(layout.viewport.width, 3030.0);
    EXPECT_DOUBLE_EQ(layout.viewport.height, 2030.0);
    EXPECT_DOUBLE_EQ(layout.viewport.left, (18000.0 - 3030.0) / 2.0);
    EXPECT_DOUBLE_EQ(layout.viewport.top, (13125.0 - 2030.0 - 720.0) / 2.0);
    EXPECT_EQ(layout.horizontalMaximum, 0);
    EXPECT_EQ(layout.verticalMaximum, 0);
    EXPECT_FALSE(layout.horizontalVisible);
    EXPECT_FALSE(layout.verticalVisible);
    EXPECT_FALSE(layout.paintLogo);
}

TEST(LayoutMainWindow, LargePictureScrollsOverItsHiddenPart)
{
    const MainLayout layout = layoutMainWindow(window(18000.0, 13125.0, MainWindowState::Image, 30000.0, 5000.0));
    EXPECT_DOUBLE_EQ(layout.viewport.width, 16560.0);
    EXPECT_DOUBLE_EQ(layout.viewport.height, 5030.0);
    EXPECT_EQ(layout.horizontalMaximum, 30000 - (16560 - 30));
    EXPECT_TRUE(layout.horizontalVisible);
    EXPECT_FALSE(layout.verticalVisible);
    // The bars sit along the viewport's bottom and right edges.
    EXPECT_DOUBLE_EQ(layout.horizontalBar.left, layout.viewport.left);
    EXPECT_DOUBLE_EQ(layout.horizontalBar.top, layout.viewport.top + layout.viewport.height);
    EXPECT_DOUBLE_EQ(layout.horizontalBar.width, layout.viewport.width);
    EXPECT_DOUBLE_EQ(layout.verticalBar.left, layout.viewport.left + layout.viewport.width);
    EXPECT_DOUBLE_EQ(layout.verticalBar.top, layout.viewport.top);
    EXPECT_DOUBLE_EQ(layout.verticalBar.height, layout.viewport.height);
    // The caption above the viewport, the values frame near the bottom, both centred.
    EXPECT_DOUBLE_EQ(layout.fileNameTop, layout.viewport.top - 240.0);
    EXPECT_DOUBLE_EQ(layout.fileNameLeft, (18000.0 - 3000.0) / 2.0);
    EXPECT_DOUBLE_EQ(layout.valuesTop, 13125.0 - 780.0);
    EXPECT_DOUBLE_EQ(layout.valuesLeft, (18000.0 - 9000.0) / 2.0);
}

TEST(LayoutMainWindow, ScrollRangesCoverPicturesBeyondSixteenBits)
{
    // 2^20 screen pixels at 15 twips each.
    const MainLayout layout = layoutMainWindow(window(18000.0, 13125.0, MainWindowState::Image, 15728640.0, 90000.0));
    EXPECT_EQ(layout.horizontalMaximum, 15728640 - (16560 - 30));
    EXPECT_EQ(layout.verticalMaximum, 90000 - (11685 - 30));
}

TEST(Twips, FifteenAPixelAtNinetySixDotsPerInch)
{
    EXPECT_DOUBLE_EQ(twipsPerPixelAtDpi(96.0), 15.0);
    EXPECT_DOUBLE_EQ(twipsPerPixelAtDpi(144.0), 10.0);
    EXPECT_DOUBLE_EQ(twipsPerPixelAtDpi(0.0), 15.0);
}

TEST(PixelUnderMouse, ThePixelWhoseSquareHoldsThePoint)
{
    struct Case {
        double x, y;
        PixelPosition expected;
    };
    // A 4 x 3 image: x runs 1 .. 5 across, y 1 .. 4 down; row 1 is the bottom row.
    const std::vector<Case> cases{
        {1.0, 1.0, {1, 3}},                              // top left corner: the top row
        {1.999, 1.999, {1, 3}},                          // still the top left pixel
        {2.0, 2.0, {2, 2}},     {4.999, 3.999, {4, 1}},  // bottom right pixel
        {2.5, 3.5, {2, 1}},                              // a bottom pixel at its middle
        {5.2, 4.3, {4, 1}},                              // past the edges: limited
        {0.3, 0.2, {1, 3}},
    };
    for (const Case& c : cases) {
        const PixelPosition at = pixelUnderMouse(c.x, c.y, 4, 3);
        EXPECT_EQ(at, c.expected) << "at " << c.x << ", " << c.y;
    }
}

TEST(PlaceRegionShape, OutlineCoversBothCornerPixels)
{
    // Columns 2..3, rows 1..2 of a 3-row image: x from 2 to 4, y (downwards) from 2 to 4.
    const ShapePlacement shape = placeRegionShape(2, 1, 3, 2, 3);
    EXPECT_DOUBLE_EQ(shape.left, 2.0);
    EXPECT_DOUBLE_EQ(shape.width, 2.0);
    EXPECT_DOUBLE_EQ(shape.top, 2.0);
    EXPECT_DOUBLE_EQ(shape.height, 2.0);
    // With the mouse mapping: the top left corner of the outline lies in the pixel (2, 2).
    EXPECT_EQ(pixelUnderMouse(shape.left, shape.top, 3, 3), (PixelPosition{2, 2}));
    EXPECT_EQ(pixelUnderMouse(shape.left + shape.width - 0.01, shape.top + shape.height - 0.01, 3, 3),
              (PixelPosition{3, 1}));
}

TEST(PrintLayout, PictureStretchedOverEightyPerCentOfThePage)
{
    // A square picture on a landscape page is stretched to the page's proportions.
    const PrintLayout page = printLayout(11000.0, 8000.0, 2000.0);
    EXPECT_DOUBLE_EQ(page.pictureWidth, 8800.0);
    EXPECT_DOUBLE_EQ(page.pictureHeight, 6400.0);
    EXPECT_DOUBLE_EQ(page.pictureLeft, 1100.0);
    EXPECT_DOUBLE_EQ(page.pictureTop, 800.0);
    EXPECT_DOUBLE_EQ(page.captionLeft, 4500.0);
    EXPECT_EQ(page.captionTop, 280);
    // The caption line's position is rounded to a whole device unit.
    EXPECT_EQ(printLayout(100.0, 1010.0, 0.0).captionTop, 35);  // 35.35
    EXPECT_EQ(printLayout(100.0, 1030.0, 0.0).captionTop, 36);  // 36.05
}

namespace {

ProgramState integerState()
{
    ProgramState state;
    ImageStore& image = state.image;
    image.width = 3;
    image.height = 2;
    image.dataType = 16;
    image.isFloat = false;
    image.intPixels = {-5, 0, 10, 20, 30, 40};  // bottom row first
    image.intMin = -5;
    image.intMax = 40;
    image.thresholdsAllowed = true;
    image.valueFormat = "####0";
    state.displayThresholds.lower.intValue = 0;
    state.displayThresholds.upper.intValue = 30;
    return state;
}

ProgramState floatState()
{
    ProgramState state;
    ImageStore& image = state.image;
    image.width = 2;
    image.height = 2;
    image.dataType = -32;
    image.isFloat = true;
    image.floatPixels = {0.125f, 0.5f, 1.0f, 3.75f};
    image.floatMin = 0.125f;
    image.floatMax = 3.75f;
    image.thresholdsAllowed = true;
    image.valueFormat = "0.0000";
    state.displayThresholds.lower.floatValue = 0.25f;
    state.displayThresholds.upper.floatValue = 2.0f;
    return state;
}

}  // namespace

TEST(ReadOut, TextsOfAnIntegerPixel)
{
    ProgramState state = integerState();
    struct Case {
        std::int32_t column, row;
        std::string intensity, grey;
    };
    const std::vector<Case> cases{
        {1, 1, "-5", "< T' hold"},                       // below the lower threshold
        {2, 1, "0", "0"},                                // at the lower threshold
        {3, 1, "10", "85"},                              // 10 * 255 / 30
        {1, 2, "20", "170"},       {2, 2, "30", "255"},  // at the upper threshold
        {3, 2, "40", "> T' hold"},                       // above it
    };
    for (const Case& c : cases) {
        const ReadOut out = readOutAt(state, c.column, c.row);
        EXPECT_EQ(out.column, std::to_string(c.column));
        EXPECT_EQ(out.row, std::to_string(c.row));
        EXPECT_EQ(out.intensity, c.intensity);
        EXPECT_EQ(out.grey, c.grey) << c.column << ", " << c.row;
        EXPECT_EQ(out.wavelength, "");
    }
    // The display inversion does not touch the read-out.
    state.inversion.invertDisplay = true;
    EXPECT_EQ(readOutAt(state, 3, 1).grey, "85");
}

TEST(ReadOut, WavelengthOfTheColumn)
{
    ProgramState state = integerState();
    state.calibration.calibrationLoaded = true;
    state.calibration.wavelengths = {400.5f, 401.0f, 401.54f};
    EXPECT_EQ(readOutAt(state, 1, 1).wavelength, "400.5");
    EXPECT_EQ(readOutAt(state, 2, 2).wavelength, "401.0");
    EXPECT_EQ(readOutAt(state, 3, 2).wavelength, "401.5");
}

TEST(ReadOut, TextsOfAFloatPixel)
{
    ProgramState state = floatState();
    EXPECT_EQ(readOutAt(state, 1, 1).intensity, "0.1250");
    EXPECT_EQ(readOutAt(state, 1, 1).grey, "< T' hold");
    EXPECT_EQ(readOutAt(state, 2, 1).grey, "36");   // 0.25 * 255 / 1.75 = 36.43
    EXPECT_EQ(readOutAt(state, 1, 2).grey, "109");  // 0.75 * 255 / 1.75 = 109.29
    EXPECT_EQ(readOutAt(state, 2, 2).intensity, "3.7500");
    EXPECT_EQ(readOutAt(state, 2, 2).grey, "> T' hold");
}

TEST(ReadOut, EqualThresholdsSpreadOverTheWholeRange)
{
    ProgramState state = integerState();
    state.displayThresholds.lower.intValue = 10;
    state.displayThresholds.upper.intValue = 10;
    EXPECT_EQ(readOutAt(state, 3, 1).grey, "0");  // equal to both thresholds
    EXPECT_EQ(readOutAt(state, 2, 1).grey, "< T' hold");
    EXPECT_EQ(readOutAt(state, 1, 2).grey, "> T' hold");
}

TEST(AbsoluteThresholds, ChecksInOrder)
{
    const ProgramState integer = integerState();
    const ProgramState floating = floatState();
    struct Case {
        const ImageStore* image;
        std::string lower, upper, message, lowerText, upperText;
    };
    const std::string lowerNotNumeric = "Error - Lower Threshold Value is not numeric";
    const std::string upperNotNumeric = "Error - Upper Threshold Value is not numeric";
    const std::string lowerOutside = "Error - Lower Threshold Value must be between minimum and maximum";
    const std::string upperOutside = "Error - Upper Threshold Value must be between minimum and maximum";
    const std::string crossed = "Error - The Lower Threshold Value is greater than the Upper Threshold Value";
    const std::vector<Case> cases{
        {&integer.image, "x", "y", lowerNotNumeric, "", ""},
        {&integer.image, "", "5", lowerNotNumeric, "", ""},
        {&integer.image, "5", "+-", upperNotNumeric, "", ""},
        {&integer.image, "-6", "50", lowerOutside, "", ""},  // both outside: the lower is reported
        {&integer.image, "0", "41", upperOutside, "", ""},
        {&integer.image, "3e9", "10", lowerOutside, "", ""},  // beyond 32 bits
        {&integer.image, "20", "10", crossed, "", ""},
        {&integer.image, "10", "10", "", "10", "10"},
        {&integer.image, "-4.5", "39.5", "", "-4", "40"},  // read as integers, halves to even
        {&floating.image, "0.1", "1", lowerOutside, "", ""},
        {&floating.image, "0.125", "3.75", "", "0.1250", "3.7500"},
        {&floating.image, "1e39", "1", lowerOutside, "", ""},  // beyond the float range
        {&floating.image, "2", "1.5", crossed, "", ""},
    };
    for (const Case& c : cases) {
        const ThresholdEntryCheck check = checkAbsoluteThresholds(*c.image, c.lower, c.upper);
        EXPECT_EQ(check.ok, c.message.empty()) << c.lower << " / " << c.upper;
        EXPECT_EQ(check.message, c.message) << c.lower << " / " << c.upper;
        EXPECT_EQ(check.lowerText, c.lowerText);
        EXPECT_EQ(check.upperText, c.upperText);
    }
}

TEST(AbsoluteThresholds, StoredValuesFollowTheOnSwitches)
{
    ProgramState state = integerState();
    state.displayThresholds.lower.on = false;
    state.displayThresholds.upper.on = true;
    const ThresholdEntryCheck check = StoreAbsoluteThresholds(state, "10", "20");
    ASSERT_TRUE(check.ok);
    EXPECT_EQ(state.displayThresholds.lower.valueText, "10");
    EXPECT_EQ(state.displayThresholds.lower.intValue, -5);  // off: the image minimum
    EXPECT_EQ(state.displayThresholds.upper.intValue, 20);
    // Half the pixels lie above 20: the per-cent text says so.
    EXPECT_EQ(state.displayThresholds.upper.percentText.empty(), false);

    // A refused entry stores nothing.
    const DisplayThresholds before = state.displayThresholds;
    EXPECT_FALSE(StoreAbsoluteThresholds(state, "30", "20").ok);
    EXPECT_EQ(state.displayThresholds.upper.intValue, before.upper.intValue);
    EXPECT_EQ(state.displayThresholds.lower.valueText, before.lower.valueText);
}

TEST(PerCentThresholds, OffSideConvertsWithZeroPerCent)
{
    ProgramState state = integerState();
    state.displayThresholds.lower.on = false;
    const ThresholdEntryCheck check = StorePerCentThresholds(state, "10", "2.5");
    ASSERT_TRUE(check.ok);
    EXPECT_EQ(check.lowerText, "10.00");
    EXPECT_EQ(check.upperText, "2.50");
    EXPECT_EQ(state.displayThresholds.lower.percentText, "10.00");
    EXPECT_EQ(state.displayThresholds.lower.percent, 0.0f);
    EXPECT_EQ(state.displayThresholds.upper.percent, 2.5f);
    EXPECT_EQ(state.displayThresholds.lower.intValue, -5);

    const DisplayThresholds before = state.displayThresholds;
    const ThresholdEntryCheck refused = StorePerCentThresholds(state, "60", "40");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, "Error - The sum of the Lower and Upper Threshold Values must be less than 100.00");
    EXPECT_EQ(state.displayThresholds.lower.percentText, before.lower.percentText);
    EXPECT_EQ(state.displayThresholds.upper.percent, before.upper.percent);
}
