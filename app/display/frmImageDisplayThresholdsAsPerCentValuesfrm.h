#pragma once

// The display thresholds as the share of pixels below the lower and above the upper threshold.

#include "DisplayThresholds.h"
#include "gFormThresholdDialog.h"

namespace kestrova {

class frmImageDisplayThresholdsAsPerCentValuesfrm : public ThresholdDialog {
    Q_OBJECT
public:
    explicit frmImageDisplayThresholdsAsPerCentValuesfrm(const WindowContext& context);

    // Checks the two texts and stores them; the first failure is shown and gives false.
    bool ValidateAndStore();

protected:
    bool setThresholds() override;
    void closeThresholds(bool restore) override;

private:
    DisplayThresholds snapshot_;
};

}  // namespace kestrova
