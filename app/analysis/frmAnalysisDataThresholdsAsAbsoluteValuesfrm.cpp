#include "frmAnalysisDataThresholdsAsAbsoluteValuesfrm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "gDataAnalysis.h"

namespace kestrova {
namespace {

bool sameSide(const DataThresholdSide& a, const DataThresholdSide& b) {
    return a.on == b.on && a.text == b.text && a.intValue == b.intValue && a.floatValue == b.floatValue;
}

}  // namespace

frmAnalysisDataThresholdsAsAbsoluteValuesfrm::frmAnalysisDataThresholdsAsAbsoluteValuesfrm(
    const WindowContext& context)
    : ThresholdDialog(context, QStringLiteral("Data Thresholds"), QStringLiteral("Value"), QStringLiteral("Value")) {
    const ImageStore& image = state_.image;
    auto* lowerGrid = static_cast<QGridLayout*>(lower_.frame->layout());
    lowerGrid->addWidget(addLabel(lower_.frame, "lblMinimum", QStringLiteral("Minimum")), 1, 2);
    lowerGrid->addWidget(addLabel(lower_.frame, "lblMiniimumValue", QString::fromStdString(image.minText)), 1, 1);
    auto* upperGrid = static_cast<QGridLayout*>(upper_.frame->layout());
    upperGrid->addWidget(addLabel(upper_.frame, "lblMaximum", QStringLiteral("Maximum")), 1, 2);
    upperGrid->addWidget(addLabel(upper_.frame, "lblMaxiimumValue", QString::fromStdString(image.maxText)), 1, 1);
    addButtons("cmdApply");

    DataThresholds& thresholds = state_.dataThresholds;
    snapshot_ = thresholds;
    showSides(thresholds.lower.on, thresholds.lower.text, thresholds.upper.on, thresholds.upper.text);
}

bool frmAnalysisDataThresholdsAsAbsoluteValuesfrm::setThresholds() {
    if (!takeCheck(ApplyDataThresholds(state_.image, state_.dataThresholds, state_.resultFlags, lowerEntry(),
                                       upperEntry())))
        return false;
    services_.refresh(Change::DataThresholds);
    return true;
}

void frmAnalysisDataThresholdsAsAbsoluteValuesfrm::closeThresholds(bool restore) {
    DataThresholds& thresholds = state_.dataThresholds;
    if (!restore || (sameSide(thresholds.lower, snapshot_.lower) && sameSide(thresholds.upper, snapshot_.upper)))
        return;
    // Results computed with the discarded thresholds go with them.
    thresholds = snapshot_;
    services_.refresh(Change::DataThresholds);
}

}  // namespace kestrova
