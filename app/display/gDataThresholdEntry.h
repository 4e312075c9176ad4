#pragma once

// Checks and stores what the user typed into the display threshold dialogs.

#include <string>

#include "ProgramState.h"

namespace kestrova {

struct ThresholdEntryCheck {
    bool ok = false;
    std::string message;    // the first failure, in the checking order
    std::string lowerText;  // on success: the values as the dialog shows them
    std::string upperText;
};

// Per-cent dialog: on success stores the "#0.00" texts, the per-cents (0 for a side that is
// Off) and converts them to values (ThresholdsFromPercent). On failure nothing is stored.
ThresholdEntryCheck StorePerCentThresholds(ProgramState& state, const std::string& lowerText,
                                           const std::string& upperText);

// Absolute dialog, checks in order: lower numeric, upper numeric, lower within the image's
// minimum .. maximum, upper likewise, lower not above upper. Texts that are numbers but do not
// fit the image's value type count as outside the range.
ThresholdEntryCheck checkAbsoluteThresholds(const ImageStore& image, const std::string& lowerText,
                                            const std::string& upperText);

// On success of the check stores the texts (in the image's value format), the values (read
// back from those texts; the image minimum or maximum for a side that is Off) and converts
// them to per-cents (PercentFromThresholds).
ThresholdEntryCheck StoreAbsoluteThresholds(ProgramState& state, const std::string& lowerText,
                                            const std::string& upperText);

}  // namespace kestrova
