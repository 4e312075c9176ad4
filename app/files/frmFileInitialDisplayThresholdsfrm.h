#pragma once

// The display thresholds, as percentages, that every newly opened image starts with; kept in
// "InitialValues.txt" in the settings folder.

#include "InitialThresholds.h"
#include "gFormDialog.h"

namespace kestrova {

class frmFileInitialDisplayThresholdsfrm : public ChildWindow {
    Q_OBJECT
public:
    explicit frmFileInitialDisplayThresholdsfrm(frmMainMenufrm& main);

    // Checks the two texts; on success stores them ("#0.00") and writes the file.
    bool ValidateAndSave();

protected:
    void unload() override;

private:
    ThresholdFrame lower_;
    ThresholdFrame upper_;
    InitialThresholds snapshot_;
    bool restore_ = true;
};

}  // namespace kestrova
