#pragma once

// The display thresholds, as percentages, that every newly opened image starts with; kept in
// "InitialValues.txt" in the settings folder.

#include "InitialThresholds.h"
#include "gFormThresholdDialog.h"

namespace kestrova {

class frmFileInitialDisplayThresholdsfrm : public ThresholdDialog {
    Q_OBJECT
public:
    explicit frmFileInitialDisplayThresholdsfrm(const WindowContext& context);

    // Checks the two texts; on success stores them ("#0.00") and writes the file.
    bool ValidateAndSave();

protected:
    bool setThresholds() override;
    void closeThresholds(bool restore) override;

private:
    InitialThresholds snapshot_;
};

}  // namespace kestrova
