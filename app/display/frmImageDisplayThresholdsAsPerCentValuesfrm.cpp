#include "frmImageDisplayThresholdsAsPerCentValuesfrm.h"

#include "frmMainMenufrm.h"
#include "gDataThresholdEntry.h"

namespace kestrova {

frmImageDisplayThresholdsAsPerCentValuesfrm::frmImageDisplayThresholdsAsPerCentValuesfrm(frmMainMenufrm& main)
    : ThresholdDialog(main, QStringLiteral("Display Thresholds As % Values"),
                      main.mnuImageDisplayThresholdsAsPerCentValues, QStringLiteral("% Below"),
                      QStringLiteral("% Above")) {
    addButtons("cmdApply");

    // The whole record is kept, so that Cancel puts back the picture exactly as it was.
    DisplayThresholds& thresholds = main_.state().displayThresholds;
    snapshot_ = thresholds;
    showSides(thresholds.lower.on, thresholds.lower.percentText, thresholds.upper.on, thresholds.upper.percentText);
}

bool frmImageDisplayThresholdsAsPerCentValuesfrm::ValidateAndStore() {
    return takeCheck(StorePerCentThresholds(main_.state(), lowerEntry(), upperEntry()));
}

bool frmImageDisplayThresholdsAsPerCentValuesfrm::setThresholds() {
    if (!ValidateAndStore())
        return false;
    main_.ApplyDisplayChange();
    return true;
}

void frmImageDisplayThresholdsAsPerCentValuesfrm::closeThresholds(bool restore) {
    if (restore)
        main_.state().displayThresholds = snapshot_;
    main_.ApplyDisplayChange();
}

}  // namespace kestrova
