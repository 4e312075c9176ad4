#include "frmFileInitialDisplayThresholdsfrm.h"

#include "gFileSettings.h"
#include "gFormServices.h"

namespace kestrova {
namespace {

void writeInitialValues(ProgramState& state)
{
    Messages messages;
    WriteInitialThresholds(initialValuesPath(state.settingsFolder), state.initialThresholds, messages);
    showMessages(messages);
}

}  // namespace

frmFileInitialDisplayThresholdsfrm::frmFileInitialDisplayThresholdsfrm(const WindowContext& context)
    : ThresholdDialog(context, QStringLiteral("Initial Display Thresholds"), QStringLiteral("% Below"),
                      QStringLiteral("% Above"))
{
    addButtons("cmdFileSave");

    InitialThresholds& initial = state_.initialThresholds;
    snapshot_ = initial;
    showSides(initial.lowerOn, initial.lowerText, initial.upperOn, initial.upperText);
}

bool frmFileInitialDisplayThresholdsfrm::ValidateAndSave()
{
    const InitialThresholdsCheck check = validateInitialThresholds(lowerEntry(), upperEntry());
    if (!takeCheck(check))
        return false;
    InitialThresholds& initial = state_.initialThresholds;
    initial.lowerText = check.lowerText;
    initial.upperText = check.upperText;
    writeInitialValues(state_);
    return true;
}

bool frmFileInitialDisplayThresholdsfrm::setThresholds()
{
    return ValidateAndSave();
}

void frmFileInitialDisplayThresholdsfrm::closeThresholds(bool restore)
{
    if (!restore)
        return;
    // Only what the dialog shows is put back.
    InitialThresholds& initial = state_.initialThresholds;
    initial.lowerOn = snapshot_.lowerOn;
    initial.lowerText = snapshot_.lowerText;
    initial.upperOn = snapshot_.upperOn;
    initial.upperText = snapshot_.upperText;
    writeInitialValues(state_);
}

}  // namespace kestrova
