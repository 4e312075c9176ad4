#pragma once

// "Regions of Interest - Coordinates": the two regions typed in pixels or wavelengths, their
// switches, the operation, the projection mode and the X units. Option clicks change the record
// at once; Set checks the entries and refreshes the analyses; Close does the same and keeps the
// result; Cancel or the close box put back the record as it was when the dialog opened.

#include "RoIRecord.h"
#include "gDataRoI.h"
#include "gFormDialog.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace kestrova {

class frmAnalysisRegionsofInterestValuesfrm : public ChildWindow {
    Q_OBJECT
public:
    explicit frmAnalysisRegionsofInterestValuesfrm(const WindowContext& context);

    // Closing then keeps the record as it is: the regions were changed elsewhere (by the mouse)
    // and the dialog is about to be opened again on them.
    void disarmRestore() { restoreOnUnload_ = false; }

protected:
    void unload() override;

private:
    // An On / Off pair (or any two exclusive options) in a frame of its own.
    struct OptionPair {
        QRadioButton* first = nullptr;
        QRadioButton* second = nullptr;
    };
    OptionPair addOptions(QWidget* frame, const char* firstName, const QString& firstCaption, const char* secondName,
                          const QString& secondCaption);
    QLineEdit* addEntry(const char* name);
    void buildControls();
    void connectOptions();
    void showOptions();
    void enableOptions();
    void showFields(const RoIDialogFields& fields);
    void showColumns();
    RoIDialogFields typedFields() const;
    // ValidateRoIDialog with the typed entries; what passed is stored and shown even on failure.
    bool ValidateRoIDialog();

    RoIRecord snapshot_;
    bool snapshotUnits_ = false;
    bool restoreOnUnload_ = true;
    bool changed_ = false;  // the record was changed since the dialog opened

    OptionPair roi1_, roi2_, operation_, projections_, units_;
    QLineEdit* txtRoI1BLvalminX_ = nullptr;
    QLineEdit* txtRoI1BLvalminY_ = nullptr;
    QLineEdit* txtRoI1TRvalmaxX_ = nullptr;
    QLineEdit* txtRoI1TRvalmaxY_ = nullptr;
    QLineEdit* txtRoI2TRvalmaxY_ = nullptr;
    QLabel* lblRoI2BLvalminX_ = nullptr;
    QLabel* lblRoI2BLvalminY_ = nullptr;
    QLabel* lblRoI2TRvalmaxX_ = nullptr;
};

}  // namespace kestrova
