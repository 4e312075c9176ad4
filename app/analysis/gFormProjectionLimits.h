#pragma once

// The Y limits dialog of a projection window ("X Projection Limits" for the spectrum, "Y
// Projection Limits" for the profile): each limit Auto (the projection's own minimum or maximum)
// or Manual (typed), for the Mean or the Sum pair the window shows. Set applies and stays open,
// Close applies and closes, Cancel (or the close box) puts back the limits it found.

#include "gDataProjection.h"
#include "gFormDialog.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace kestrova {

enum class ProjectionKind;

// The window name of a projection's limits dialog.
const char* limitsWindowName(ProjectionKind kind);

class ProjectionLimitsDialog : public ChildWindow {
    Q_OBJECT
public:
    ProjectionLimitsDialog(const WindowContext& context, ProjectionKind kind);

    // The limits in force become the dialog's baseline: closing it no longer puts back the copy
    // taken when it opened.
    void disarmRestore() { restoreArmed_ = false; }

protected:
    void unload() override;

private:
    ProjectionLimits& limits() const;
    const Projection& projection() const;
    // ApplyLimits on the two texts; on success the projection window shows the new limits.
    bool apply();
    void refreshPlot();
    void setLimitsItemChecked(bool checked);

    ProjectionKind kind_;
    ProjectionLimits copy_;
    bool restoreArmed_ = true;
    QRadioButton* optLoLimitOn_ = nullptr;
    QRadioButton* optHiLimitOn_ = nullptr;
    QLineEdit* txtLoLimitValue_ = nullptr;
    QLineEdit* txtHiLimitValue_ = nullptr;
};

QWidget* openSpectrumLimits(const WindowContext& context);
QWidget* openProfileLimits(const WindowContext& context);

}  // namespace kestrova
