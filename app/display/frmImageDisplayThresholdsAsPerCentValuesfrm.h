#pragma once

// The display thresholds as the share of pixels below the lower and above the upper threshold.

#include "DisplayThresholds.h"
#include "gFormDialog.h"

namespace kestrova {

class frmImageDisplayThresholdsAsPerCentValuesfrm : public ChildWindow {
    Q_OBJECT
public:
    explicit frmImageDisplayThresholdsAsPerCentValuesfrm(frmMainMenufrm& main);

    // Checks the two texts and stores them; the first failure is shown and gives false.
    bool ValidateAndStore();

protected:
    void unload() override;

private:
    ThresholdFrame lower_;
    ThresholdFrame upper_;
    DisplayThresholds snapshot_;
    bool restore_ = true;
};

}  // namespace kestrova
