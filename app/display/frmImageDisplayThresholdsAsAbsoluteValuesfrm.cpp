#include "frmImageDisplayThresholdsAsAbsoluteValuesfrm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "gDataThresholdEntry.h"

namespace kestrova {

frmImageDisplayThresholdsAsAbsoluteValuesfrm::frmImageDisplayThresholdsAsAbsoluteValuesfrm(const WindowContext& context)
    : ThresholdDialog(context, QStringLiteral("Display Thresholds As Absolute Values"), QStringLiteral("Value"),
                      QStringLiteral("Value")) {
    const ImageStore& image = state_.image;
    auto* lowerGrid = static_cast<QGridLayout*>(lower_.frame->layout());
    lowerGrid->addWidget(addLabel(lower_.frame, "lblMinimum", QStringLiteral("Minimum")), 1, 2);
    lowerGrid->addWidget(addLabel(lower_.frame, "lblMiniimumValue", QString::fromStdString(image.minText)), 1, 1);
    auto* upperGrid = static_cast<QGridLayout*>(upper_.frame->layout());
    upperGrid->addWidget(addLabel(upper_.frame, "lblMaximum", QStringLiteral("Maximum")), 1, 2);
    upperGrid->addWidget(addLabel(upper_.frame, "lblMaxiimumValue", QString::fromStdString(image.maxText)), 1, 1);
    addButtons("cmdApply");

    DisplayThresholds& thresholds = state_.displayThresholds;
    snapshot_ = thresholds;
    showSides(thresholds.lower.on, thresholds.lower.valueText, thresholds.upper.on, thresholds.upper.valueText);
}

bool frmImageDisplayThresholdsAsAbsoluteValuesfrm::ValidateAndStore() {
    return takeCheck(StoreAbsoluteThresholds(state_, lowerEntry(), upperEntry()));
}

bool frmImageDisplayThresholdsAsAbsoluteValuesfrm::setThresholds() {
    if (!ValidateAndStore())
        return false;
    services_.refresh(Change::DisplayThresholds);
    return true;
}

void frmImageDisplayThresholdsAsAbsoluteValuesfrm::closeThresholds(bool restore) {
    if (!restore)
        return;
    state_.displayThresholds = snapshot_;
    services_.refresh(Change::DisplayThresholds);
}

}  // namespace kestrova
