#include "frmImageDisplayThresholdsAsAbsoluteValuesfrm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "gDataThresholdEntry.h"

namespace kestrova {

frmImageDisplayThresholdsAsAbsoluteValuesfrm::frmImageDisplayThresholdsAsAbsoluteValuesfrm(const WindowContext& context)
    : ThresholdDialog(context, QStringLiteral("Display Thresholds As Absolute Values"), QStringLiteral("Value"),
                      QStringLiteral("Value"))
{
    addExtremeLabels();
    addButtons("cmdApply");

    DisplayThresholds& thresholds = state_.displayThresholds;
    snapshot_ = thresholds;
    showSides(thresholds.lower.on, thresholds.lower.valueText, thresholds.upper.on, thresholds.upper.valueText);
}

bool frmImageDisplayThresholdsAsAbsoluteValuesfrm::ValidateAndStore()
{
    return takeCheck(StoreAbsoluteThresholds(state_, lowerEntry(), upperEntry()));
}

bool frmImageDisplayThresholdsAsAbsoluteValuesfrm::setThresholds()
{
    if (!ValidateAndStore())
        return false;
    services_.refresh(Change::DisplayThresholds);
    return true;
}

void frmImageDisplayThresholdsAsAbsoluteValuesfrm::closeThresholds(bool restore)
{
    if (!restore)
        return;
    state_.displayThresholds = snapshot_;
    services_.refresh(Change::DisplayThresholds);
}

}  // namespace kestrova
