#pragma once

// The analysis image: the intensity inversion, the data thresholds and the pair of thresholds
// every analysis tests against.

#include <cstdint>
#include <string>

#include "DataThresholds.h"
#include "DisplayThresholds.h"
#include "ImageStore.h"
#include "RoIRecord.h"
#include "gDataThresholdEntry.h"

namespace kestrova {

// The thresholds in force, in both value types (use the one of the image's pixel class): a
// side's value when it is On, else the image minimum (lower) or maximum (upper).
struct EffectiveDataThresholds {
    std::int32_t intLower = 0;
    std::int32_t intUpper = 0;
    float floatLower = 0.0f;
    float floatUpper = 0.0f;
};
EffectiveDataThresholds effectiveDataThresholds(const DataThresholds& thresholds, const ImageStore& image);

// Toggles the intensity inversion (the display then shows invert-display XOR invert-intensity)
// and clears the results computed from the projections; the region itself stays built.
// Returns the new state of the flag.
bool InvertIntensity(DisplayInversion& inversion, ResultFlags& flags);

// One threshold text converted as the Data Thresholds dialog converts it: the number rounded
// to the image's type (halves to even for integers), checked against the image range, formatted
// with the image's value format, and that text read back, clamped to the image range (a text
// such as "21475E+5" of 2147483647 reads back beyond 32 bits). A number that formats as the
// image's minimum or maximum text passes the range check, so every text shown reads back.
struct DataThresholdText {
    bool numeric = false;
    bool inRange = false;
    std::string text;  // the formatted text, when in range
    std::int32_t intValue = 0;
    float floatValue = 0.0f;
};
DataThresholdText convertDataThreshold(const ImageStore& image, const std::string& text);

// Clears the results that depend on the data thresholds: projections and centroid. Set runs
// it; so does a Cancel that puts earlier thresholds back.
void clearDataThresholdResults(ResultFlags& flags);

// The dialog's Set: checks both texts in order (lower numeric, upper numeric, lower in range,
// upper in range, lower below upper, also after formatting), whether or not their sides are On.
// On success stores the formatted texts and, for each side, its read-back value when On or
// the image minimum / maximum when Off, and clears the projection and centroid results. On
// failure nothing changes.
ThresholdEntryCheck ApplyDataThresholds(const ImageStore& image, DataThresholds& thresholds, ResultFlags& flags,
                                        const std::string& lowerText, const std::string& upperText);

}  // namespace kestrova
