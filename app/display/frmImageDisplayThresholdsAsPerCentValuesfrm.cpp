#include "frmImageDisplayThresholdsAsPerCentValuesfrm.h"

#include "gDataThresholdEntry.h"

namespace kestrova {

frmImageDisplayThresholdsAsPerCentValuesfrm::frmImageDisplayThresholdsAsPerCentValuesfrm(const WindowContext& context)
    : ThresholdDialog(context, QStringLiteral("Display Thresholds As % Values"), QStringLiteral("% Below"),
                      QStringLiteral("% Above"))
{
    addButtons("cmdApply");

    // The whole record is kept, so that Cancel puts back the picture exactly as it was.
    DisplayThresholds& thresholds = state_.displayThresholds;
    snapshot_ = thresholds;
    showSides(thresholds.lower.on, thresholds.lower.percentText, thresholds.upper.on, thresholds.upper.percentText);
}

bool frmImageDisplayThresholdsAsPerCentValuesfrm::ValidateAndStore()
{
    return takeCheck(StorePerCentThresholds(state_, lowerEntry(), upperEntry()));
}

bool frmImageDisplayThresholdsAsPerCentValuesfrm::setThresholds()
{
    if (!ValidateAndStore())
        return false;
    services_.refresh(Change::DisplayThresholds);
    return true;
}

void frmImageDisplayThresholdsAsPerCentValuesfrm::closeThresholds(bool restore)
{
    if (restore)
        state_.displayThresholds = snapshot_;
    services_.refresh(Change::DisplayThresholds);
}

}  // namespace kestrova
