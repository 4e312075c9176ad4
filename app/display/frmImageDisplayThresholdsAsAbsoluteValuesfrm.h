#pragma once

// The display thresholds as image values.

#include "DisplayThresholds.h"
#include "gFormDialog.h"

namespace kestrova {

class frmImageDisplayThresholdsAsAbsoluteValuesfrm : public ChildWindow {
    Q_OBJECT
public:
    explicit frmImageDisplayThresholdsAsAbsoluteValuesfrm(frmMainMenufrm& main);

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
