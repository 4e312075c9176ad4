#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "ImageFixture.h"
#include "gDataAnalysis.h"

using namespace kestrova;

namespace {

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
const char* const kLowerNotNumeric = "Error - Lower Threshold Value is not numeric";
const char* const kUpperNotNumeric = "Error - Upper Threshold Value is not numeric";
const char* const kLowerOutside = "Error - Lower Threshold Value must be between minimum and maximum";
const char* const kUpperOutside = "Error - Upper Threshold Value must be between minimum and maximum";
const char* const kNotBelow = "Error - The Lower Threshold Value is greater or equal to the Upper Threshold Value";

struct Case {
    const char* lower;
    const char* upper;
    const char* message;
    const char* lowerText;
    const char* upperText;
    double lowerValue;
    double upperValue;
};

void runCases(ProgramState& state, const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        state.dataThresholds.lower.on = state.dataThresholds.upper.on = true;
        const DataThresholds before = state.dataThresholds;
        ResultFlags flags;
        flags.regionBuilt = flags.spectrumComputed = flags.histogramComputed = flags.centroidXComputed = true;
        const ThresholdEntryCheck check =
            ApplyDataThresholds(state.image, state.dataThresholds, flags, c.lower, c.upper);
        const std::string what = std::string(c.lower) + " / " + c.upper;
        EXPECT_EQ(check.message, c.message) << what;
        const DataThresholds& t = state.dataThresholds;
        if (!check.ok) {
            EXPECT_EQ(t.lower.text, before.lower.text) << what;  // nothing changes
            EXPECT_EQ(t.upper.intValue, before.upper.intValue) << what;
            EXPECT_TRUE(flags.spectrumComputed);
            continue;
        }
        EXPECT_EQ(check.lowerText, c.lowerText) << what;
        EXPECT_EQ(t.upper.text, c.upperText) << what;
        const EffectiveDataThresholds e = effectiveDataThresholds(t, state.image);
        const bool isFloat = state.image.isFloat;
        EXPECT_EQ(isFloat ? static_cast<double>(e.floatLower) : e.intLower, c.lowerValue) << what;
        EXPECT_EQ(isFloat ? static_cast<double>(e.floatUpper) : e.intUpper, c.upperValue) << what;
        EXPECT_FALSE(flags.spectrumComputed || flags.centroidXComputed);
        EXPECT_TRUE(flags.regionBuilt && flags.histogramComputed);
    }
}

}  // namespace

TEST(DataThresholds, IntegerImageChecksInOrderAndRoundsHalvesToEven)
{
    ProgramState state;
    loadImage(state, 2, 1, std::vector<std::int32_t>{0, 200}, 8);  // "##0"
    runCases(state, {
                        {"a", "b", kLowerNotNumeric},
                        {"5", "", kUpperNotNumeric},
                        {"-1", "x", kUpperNotNumeric},  // both numeric tests come first
                        {"-1", "300", kLowerOutside},
                        {"1e10", "5", kLowerOutside},  // not a 32-bit number
                        {"5", "200.6", kUpperOutside},
                        {"5", "5", kNotBelow},
                        {"7.5", "8.4", kNotBelow},
                        {"7.5", "100", "", "8", "100", 8, 100},
                        {"6.5", "199.5", "", "6", "200", 6, 200},
                    });
}

TEST(DataThresholds, FormattedTextsReadBackIntoTheImageRange)
{
    ProgramState state;
    loadImage(state, 2, 1, std::vector<std::int32_t>{0, kIntMax}, 32);  // "#####E+#": 2147483647 shows as "21475E+5"
    runCases(state, {
                        {"0", "2147483647", "", "0E+0", "21475E+5", 0, kIntMax},
                        {"0", "21475E+5", "", "0E+0", "21475E+5", 0, kIntMax},  // the shown text reads back
                        {"2147483000", "2147483647", kNotBelow},                // alike once formatted
                        {"0", "21476E+5", kUpperOutside},
                    });
    loadFloatImage(state, 2, 1, std::vector<float>{0.0f, 12.5f});  // "#0.000"
    runCases(state, {
                        {"1.23456", "12.5", "", "1.235", "12.500", 1.235f, 12.5f},
                        {"1.2344", "1.2341", kNotBelow},
                        {"1e39", "1", kLowerOutside},  // beyond the float range
                    });
    loadFloatImage(state, 2, 1, std::vector<float>{0.0f, 123456.7f});  // "#####E+###"
    runCases(state, {{"0", "123456.7", "", "0E+0", "12346E+1", 0.0f, 123456.7f}});
}

TEST(DataThresholds, OffSidesHoldTheImageRange)
{
    ProgramState state;
    loadImage(state, 2, 1, std::vector<std::int32_t>{0, 200}, 8);
    ResultFlags flags;
    ASSERT_TRUE(ApplyDataThresholds(state.image, state.dataThresholds, flags, "7.5", "100").ok);
    EXPECT_EQ(state.dataThresholds.lower.text, "8");
    EXPECT_EQ(state.dataThresholds.lower.intValue, 0);
    EXPECT_EQ(state.dataThresholds.upper.intValue, 200);
    // The effective pair ignores a stale value on an Off side.
    state.dataThresholds.lower.intValue = 77;
    EXPECT_EQ(effectiveDataThresholds(state.dataThresholds, state.image).intLower, 0);
    state.dataThresholds.lower.on = true;
    EXPECT_EQ(effectiveDataThresholds(state.dataThresholds, state.image).intLower, 77);
}

TEST(InvertIntensity, CombinesWithTheDisplayInversionAndKeepsTheRegion)
{
    DisplayInversion inversion;
    inversion.invertDisplay = true;
    ResultFlags flags;
    flags.regionBuilt = flags.spectrumComputed = flags.histogramComputed = flags.centroidYComputed = true;
    EXPECT_TRUE(InvertIntensity(inversion, flags));
    EXPECT_FALSE(inversion.effectiveInvert());
    EXPECT_TRUE(flags.regionBuilt);
    EXPECT_FALSE(flags.spectrumComputed || flags.histogramComputed || flags.centroidYComputed);
    EXPECT_FALSE(InvertIntensity(inversion, flags));
    EXPECT_TRUE(inversion.effectiveInvert());
}
