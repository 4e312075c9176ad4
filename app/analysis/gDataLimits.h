#pragma once

// The Y limits of a projection plot as the limits dialogs set them: each side automatic (the
// projection's own minimum or maximum) or typed by hand.

#include <string_view>

#include "Messages.h"
#include "gDataProjection.h"

namespace kestrova {

inline constexpr const char* kLowerLimitNotNumeric = "Error - Lower Limit Value is not numeric";
inline constexpr const char* kUpperLimitNotNumeric = "Error - Upper Limit Value is not numeric";
inline constexpr const char* kLimitsNotIncreasing =
    "Error - The Lower Limit Value is greater or equal to the Upper Limit Value";

// The automatic limits of the pair shown (Mean or Sum): the projection's minimum and maximum.
struct LimitPair {
    double lower;
    double upper;
};
LimitPair AutomaticLimits(const Projection& projection, bool mean);

// Checks the two typed texts and stores them into the pair the limits show (yScaleMean). Both
// texts must be numeric whatever the sides are; the pair in force (the typed value of a Manual
// side, the automatic one of an Auto side) must increase. On a refusal the first failing
// check's message is added and nothing changes.
bool ApplyLimits(ProjectionLimits& limits, const Projection& projection, std::string_view lowerText,
                 std::string_view upperText, Messages& messages);

}  // namespace kestrova
