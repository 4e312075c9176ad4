#include "gDataAnalysis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "NumberFormat.h"

namespace kestrova {

namespace {

constexpr const char* kLowerNotNumeric = "Error - Lower Threshold Value is not numeric";
constexpr const char* kUpperNotNumeric = "Error - Upper Threshold Value is not numeric";
constexpr const char* kLowerOutside = "Error - Lower Threshold Value must be between minimum and maximum";
constexpr const char* kUpperOutside = "Error - Upper Threshold Value must be between minimum and maximum";
constexpr const char* kLowerNotBelowUpper =
    "Error - The Lower Threshold Value is greater or equal to the Upper Threshold Value";

ThresholdEntryCheck refused(const char* message)
{
    ThresholdEntryCheck check;
    check.message = message;
    return check;
}

// The formatted text read back into the image range; `fallback` when it does not read.
double readBack(const std::string& text, double fallback, double minimum, double maximum)
{
    const auto value = numericValue(text);
    return std::clamp(value.value_or(fallback), minimum, maximum);
}

bool below(const DataThresholdText& lower, const DataThresholdText& upper, bool isFloat)
{
    return isFloat ? lower.floatValue < upper.floatValue : lower.intValue < upper.intValue;
}

}  // namespace

EffectiveDataThresholds effectiveDataThresholds(const DataThresholds& thresholds, const ImageStore& image)
{
    const DataThresholdSide& lower = thresholds.lower;
    const DataThresholdSide& upper = thresholds.upper;
    return {lower.on ? lower.intValue : image.intMin, upper.on ? upper.intValue : image.intMax,
            lower.on ? lower.floatValue : image.floatMin, upper.on ? upper.floatValue : image.floatMax};
}

bool InvertIntensity(DisplayInversion& inversion, ResultFlags& flags)
{
    inversion.invertIntensity = !inversion.invertIntensity;
    flags.spectrumComputed = false;
    flags.profileComputed = false;
    flags.histogramComputed = false;
    flags.centroidXComputed = false;
    flags.centroidYComputed = false;
    return inversion.invertIntensity;
}

void clearDataThresholdResults(ResultFlags& flags)
{
    flags.spectrumComputed = false;
    flags.profileComputed = false;
    flags.centroidXComputed = false;
    flags.centroidYComputed = false;
}

DataThresholdText convertDataThreshold(const ImageStore& image, const std::string& text)
{
    DataThresholdText converted;
    converted.numeric = isNumeric(text);
    const auto value = numericValue(text);
    if (!value)
        return converted;
    // A number that formats as the image's minimum or maximum text counts as that end of the
    // range, so that every text the program shows or writes reads back.
    const auto formatsAsEnd = [&image](const std::string& formatted) {
        return formatted == image.minText || formatted == image.maxText;
    };
    if (image.isFloat) {
        if (!(std::fabs(*value) <= static_cast<double>(std::numeric_limits<float>::max())))
            return converted;
        const auto v = static_cast<float>(*value);
        converted.text = formatNumber(v, image.valueFormat);
        if ((v < image.floatMin || v > image.floatMax) && !formatsAsEnd(converted.text))
            return converted;
        converted.floatValue = static_cast<float>(readBack(converted.text, v, image.floatMin, image.floatMax));
    } else {
        const double v = roundHalfEven(*value);
        converted.text = formatNumber(v, image.valueFormat);
        if ((v < image.intMin || v > image.intMax) && !formatsAsEnd(converted.text))
            return converted;
        converted.intValue =
            static_cast<std::int32_t>(roundHalfEven(readBack(converted.text, v, image.intMin, image.intMax)));
    }
    converted.inRange = true;
    return converted;
}

ThresholdEntryCheck ApplyDataThresholds(const ImageStore& image, DataThresholds& thresholds, ResultFlags& flags,
                                        const std::string& lowerText, const std::string& upperText)
{
    if (!isNumeric(lowerText))
        return refused(kLowerNotNumeric);
    if (!isNumeric(upperText))
        return refused(kUpperNotNumeric);
    const DataThresholdText lower = convertDataThreshold(image, lowerText);
    const DataThresholdText upper = convertDataThreshold(image, upperText);
    if (!lower.inRange)
        return refused(kLowerOutside);
    if (!upper.inRange)
        return refused(kUpperOutside);
    // Compared as the formatted texts read back: two values that format alike are equal.
    if (!below(lower, upper, image.isFloat))
        return refused(kLowerNotBelowUpper);

    DataThresholdSide& lo = thresholds.lower;
    DataThresholdSide& hi = thresholds.upper;
    lo.text = lower.text;
    hi.text = upper.text;
    lo.intValue = lo.on ? lower.intValue : image.intMin;
    lo.floatValue = lo.on ? lower.floatValue : image.floatMin;
    hi.intValue = hi.on ? upper.intValue : image.intMax;
    hi.floatValue = hi.on ? upper.floatValue : image.floatMax;
    clearDataThresholdResults(flags);

    ThresholdEntryCheck check;
    check.ok = true;
    check.lowerText = lower.text;
    check.upperText = upper.text;
    return check;
}

}  // namespace kestrova
