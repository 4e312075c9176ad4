#pragma once

// "Data Thresholds": the lower and upper values that decide which pixels and projection values
// the analyses count.

#include "DataThresholds.h"
#include "gFormThresholdDialog.h"

namespace kestrova {

class frmAnalysisDataThresholdsAsAbsoluteValuesfrm : public ThresholdDialog {
    Q_OBJECT
public:
    explicit frmAnalysisDataThresholdsAsAbsoluteValuesfrm(const WindowContext& context);

protected:
    bool setThresholds() override;
    void closeThresholds(bool restore) override;

private:
    DataThresholds snapshot_;
};

}  // namespace kestrova
