#pragma once

// The display thresholds as image values.

#include "DisplayThresholds.h"
#include "gFormThresholdDialog.h"

namespace kestrova {

class frmImageDisplayThresholdsAsAbsoluteValuesfrm : public ThresholdDialog {
    Q_OBJECT
public:
    explicit frmImageDisplayThresholdsAsAbsoluteValuesfrm(const WindowContext& context);

    // Checks the two texts and stores them; the first failure is shown and gives false.
    bool ValidateAndStore();

protected:
    bool setThresholds() override;
    void closeThresholds(bool restore) override;

private:
    DisplayThresholds snapshot_;
};

}  // namespace kestrova
