#include "frmFileInitialDisplayThresholdsfrm.h"

#include "frmMainMenufrm.h"
#include "gFileSettings.h"
#include "gFormServices.h"

namespace kestrova {
namespace {

void writeInitialValues(ProgramState& state) {
    Messages messages;
    WriteInitialThresholds(initialValuesPath(state.settingsFolder), state.initialThresholds, messages);
    showMessages(messages);
}

}  // namespace

frmFileInitialDisplayThresholdsfrm::frmFileInitialDisplayThresholdsfrm(frmMainMenufrm& main)
    : ThresholdDialog(main, QStringLiteral("Initial Display Thresholds"), main.mnuFileInitialDisplayThresholds,
                      QStringLiteral("% Below"), QStringLiteral("% Above")) {
    addButtons("cmdFileSave");

    InitialThresholds& initial = main_.state().initialThresholds;
    snapshot_ = initial;
    showSides(initial.lowerOn, initial.lowerText, initial.upperOn, initial.upperText);
}

bool frmFileInitialDisplayThresholdsfrm::ValidateAndSave() {
    const InitialThresholdsCheck check = validateInitialThresholds(lowerEntry(), upperEntry());
    if (!takeCheck(check))
        return false;
    InitialThresholds& initial = main_.state().initialThresholds;
    initial.lowerText = check.lowerText;
    initial.upperText = check.upperText;
    writeInitialValues(main_.state());
    return true;
}

bool frmFileInitialDisplayThresholdsfrm::setThresholds() {
    return ValidateAndSave();
}

void frmFileInitialDisplayThresholdsfrm::closeThresholds(bool restore) {
    if (!restore)
        return;
    // Only what the dialog shows is put back.
    InitialThresholds& initial = main_.state().initialThresholds;
    initial.lowerOn = snapshot_.lowerOn;
    initial.lowerText = snapshot_.lowerText;
    initial.upperOn = snapshot_.upperOn;
    initial.upperText = snapshot_.upperText;
    writeInitialValues(main_.state());
}

}  // namespace kestrova
