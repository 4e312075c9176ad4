#include "gDataLimits.h"

#include <string>

#include "NumberFormat.h"

namespace kestrova {

LimitPair AutomaticLimits(const Projection& projection, bool mean)
{
    return mean ? LimitPair{projection.meanMin, projection.meanMax} : LimitPair{projection.sumMin, projection.sumMax};
}

bool ApplyLimits(ProjectionLimits& limits, const Projection& projection, std::string_view lowerText,
                 std::string_view upperText, Messages& messages)
{
    const auto typedLower = numericValue(lowerText);
    if (!typedLower) {
        messages.push_back(kLowerLimitNotNumeric);
        return false;
    }
    const auto typedUpper = numericValue(upperText);
    if (!typedUpper) {
        messages.push_back(kUpperLimitNotNumeric);
        return false;
    }
    const LimitPair automatic = AutomaticLimits(projection, limits.yScaleMean);
    const double lower = limits.lowerManual ? *typedLower : automatic.lower;
    const double upper = limits.upperManual ? *typedUpper : automatic.upper;
    if (!(lower < upper)) {
        messages.push_back(kLimitsNotIncreasing);
        return false;
    }
    std::string& loText = limits.yScaleMean ? limits.meanLoText : limits.sumLoText;
    std::string& hiText = limits.yScaleMean ? limits.meanHiText : limits.sumHiText;
    double& lo = limits.yScaleMean ? limits.meanLo : limits.sumLo;
    double& hi = limits.yScaleMean ? limits.meanHi : limits.sumHi;
    loText = std::string(lowerText);
    hiText = std::string(upperText);
    lo = lower;
    hi = upper;
    return true;
}

}  // namespace kestrova
