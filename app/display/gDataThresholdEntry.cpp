#include "gDataThresholdEntry.h"

#include <optional>

#include "NumberFormat.h"
#include "gDataOrg.h"
#include "gFileSettings.h"

namespace kestrova {
namespace {

constexpr const char* kLowerNotNumeric = "Error - Lower Threshold Value is not numeric";
constexpr const char* kUpperNotNumeric = "Error - Upper Threshold Value is not numeric";
constexpr const char* kLowerOutside = "Error - Lower Threshold Value must be between minimum and maximum";
constexpr const char* kUpperOutside = "Error - Upper Threshold Value must be between minimum and maximum";
constexpr const char* kLowerAboveUpper = "Error - The Lower Threshold Value is greater than the Upper Threshold Value";

ThresholdEntryCheck refused(const char* message)
{
    ThresholdEntryCheck check;
    check.message = message;
    return check;
}

template <typename T>
ThresholdEntryCheck checkRange(std::optional<T> lower, std::optional<T> upper, T minimum, T maximum,
                               const std::string& valueFormat)
{
    if (!lower || *lower < minimum || *lower > maximum)
        return refused(kLowerOutside);
    if (!upper || *upper < minimum || *upper > maximum)
        return refused(kUpperOutside);
    if (*lower > *upper)
        return refused(kLowerAboveUpper);
    ThresholdEntryCheck check;
    check.ok = true;
    check.lowerText = formatNumber(*lower, valueFormat);
    check.upperText = formatNumber(*upper, valueFormat);
    return check;
}

}  // namespace

ThresholdEntryCheck StorePerCentThresholds(ProgramState& state, const std::string& lowerText,
                                           const std::string& upperText)
{
    // The per-cent dialog checks exactly as the initial display thresholds dialog does.
    const InitialThresholdsCheck entry = validateInitialThresholds(lowerText, upperText);
    ThresholdEntryCheck check;
    check.ok = entry.ok;
    check.message = entry.message;
    if (!entry.ok)
        return check;
    check.lowerText = entry.lowerText;
    check.upperText = entry.upperText;

    DisplayThresholds& thresholds = state.displayThresholds;
    thresholds.lower.percentText = entry.lowerText;
    thresholds.upper.percentText = entry.upperText;
    thresholds.lower.percent = thresholds.lower.on ? textToFloat(entry.lowerText).value_or(0.0f) : 0.0f;
    thresholds.upper.percent = thresholds.upper.on ? textToFloat(entry.upperText).value_or(0.0f) : 0.0f;
    ThresholdsFromPercent(PixelSource::of(state.image), thresholds.lower.percent, thresholds.upper.percent, thresholds);
    return check;
}

ThresholdEntryCheck checkAbsoluteThresholds(const ImageStore& image, const std::string& lowerText,
                                            const std::string& upperText)
{
    if (!isNumeric(lowerText))
        return refused(kLowerNotNumeric);
    if (!isNumeric(upperText))
        return refused(kUpperNotNumeric);
    if (image.isFloat)
        return checkRange(textToFloat(lowerText), textToFloat(upperText), image.floatMin, image.floatMax,
                          image.valueFormat);
    return checkRange(textToInt32(lowerText), textToInt32(upperText), image.intMin, image.intMax, image.valueFormat);
}

ThresholdEntryCheck StoreAbsoluteThresholds(ProgramState& state, const std::string& lowerText,
                                            const std::string& upperText)
{
    const ImageStore& image = state.image;
    ThresholdEntryCheck check = checkAbsoluteThresholds(image, lowerText, upperText);
    if (!check.ok)
        return check;

    DisplayThresholds& thresholds = state.displayThresholds;
    thresholds.lower.valueText = check.lowerText;
    thresholds.upper.valueText = check.upperText;
    if (image.isFloat) {
        thresholds.lower.floatValue =
            thresholds.lower.on ? textToFloat(check.lowerText).value_or(image.floatMin) : image.floatMin;
        thresholds.upper.floatValue =
            thresholds.upper.on ? textToFloat(check.upperText).value_or(image.floatMax) : image.floatMax;
    } else {
        thresholds.lower.intValue =
            thresholds.lower.on ? textToInt32(check.lowerText).value_or(image.intMin) : image.intMin;
        thresholds.upper.intValue =
            thresholds.upper.on ? textToInt32(check.upperText).value_or(image.intMax) : image.intMax;
    }
    PercentFromThresholds(PixelSource::of(image), thresholds);
    return check;
}

}  // namespace kestrova
