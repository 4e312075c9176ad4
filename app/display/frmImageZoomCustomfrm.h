#pragma once

// A zoom typed as a per-cent from 1 to 500.

#include <string>

#include "gFormDialog.h"

namespace kestrova {

class frmImageZoomCustomfrm : public ChildWindow {
    Q_OBJECT
public:
    explicit frmImageZoomCustomfrm(const WindowContext& context);

    const std::string& pendingValue() const { return pending_; }

private:
    void txtZoomValue_Change(const QString& text);

    QLineEdit* txtZoomValue_ = nullptr;
    std::string pending_;
};

}  // namespace kestrova
