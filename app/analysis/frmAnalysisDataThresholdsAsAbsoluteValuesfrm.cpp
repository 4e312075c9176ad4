#include "frmAnalysisDataThresholdsAsAbsoluteValuesfrm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "gDataAnalysis.h"

namespace kestrova {
namespace {

bool sameSide(const DataThresholdSide& a, const DataThresholdSide& b)
{
    return a.on == b.on && a.text == b.text && a.intValue == b.intValue && a.floatValue == b.floatValue;
}

}  // namespace

frmAnalysisDataThresholdsAsAbsoluteValuesfrm::frmAnalysisDataThresholdsAsAbsoluteValuesfrm(const WindowContext& context)
    : ThresholdDialog(context, QStringLiteral("Data Thresholds"), QStringLiteral("Value"), QStringLiteral("Value"))
{
    addExtremeLabels();
    addButtons("cmdApply");

    DataThresholds& thresholds = state_.dataThresholds;
    snapshot_ = thresholds;
    showSides(thresholds.lower.on, thresholds.lower.text, thresholds.upper.on, thresholds.upper.text);
}

bool frmAnalysisDataThresholdsAsAbsoluteValuesfrm::setThresholds()
{
    if (!takeCheck(
            ApplyDataThresholds(state_.image, state_.dataThresholds, state_.resultFlags, lowerEntry(), upperEntry())))
        return false;
    services_.refresh(Change::DataThresholds);
    return true;
}

void frmAnalysisDataThresholdsAsAbsoluteValuesfrm::closeThresholds(bool restore)
{
    DataThresholds& thresholds = state_.dataThresholds;
    if (!restore || (sameSide(thresholds.lower, snapshot_.lower) && sameSide(thresholds.upper, snapshot_.upper)))
        return;
    // Results computed with the discarded thresholds go with them.
    thresholds = snapshot_;
    services_.refresh(Change::DataThresholds);
}

}  // namespace kestrova
