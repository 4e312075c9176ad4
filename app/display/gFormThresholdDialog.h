#pragma once

// What the threshold dialogs have in common: a "Lower Threshold" and an "Upper Threshold" frame,
// each with On and Off options and a text box, over Set, Close and Cancel buttons. The dialog's
// menu item is checked while it is open. Set stores the two entries, Close stores them and keeps
// them; leaving any other way (Cancel, the close box) lets the dialog put back what it started from.

#include <string>

#include "gFormDialog.h"

class QAction;

namespace kestrova {

class ThresholdDialog : public ChildWindow {
    Q_OBJECT
protected:
    // Builds the two frames; each names its text box with its own label.
    ThresholdDialog(const WindowContext& context, const QString& caption, const QString& lowerLabel,
                    const QString& upperLabel);

    // Shows the image's minimum under the lower text box and its maximum under the upper one.
    void addExtremeLabels();
    // Puts the buttons under the frames (Set named setName), checks the menu item and centres the window.
    void addButtons(const char* setName);
    // Shows the two sides and lets each side's options set its flag.
    void showSides(bool& lowerOn, const std::string& lowerText, bool& upperOn, const std::string& upperText);

    // The texts as typed.
    std::string lowerEntry() const;
    std::string upperEntry() const;
    // Shows a failed check's message and gives false, or shows the accepted texts and gives true.
    template <class Check>
    bool takeCheck(const Check& check)
    {
        return showCheck(check.ok, check.message, check.lowerText, check.upperText);
    }

    // Checks and stores the two entries, with what follows from them; false once a failure is shown.
    virtual bool setThresholds() = 0;
    // Runs as the window closes; restore is false only when Close has stored the entries.
    virtual void closeThresholds(bool restore) = 0;

    ThresholdFrame lower_;
    ThresholdFrame upper_;

private:
    void unload() final;
    bool showCheck(bool ok, const std::string& message, const std::string& lowerText, const std::string& upperText);

    bool restore_ = true;
};

}  // namespace kestrova
