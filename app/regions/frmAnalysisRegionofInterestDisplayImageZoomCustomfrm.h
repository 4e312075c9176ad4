#pragma once

// The region display window's zoom typed as a per-cent from 1 to 500.

#include <string>

#include "gFormDialog.h"

namespace kestrova {

class frmAnalysisRegionofInterestDisplayImageZoomCustomfrm : public ChildWindow {
    Q_OBJECT
public:
    explicit frmAnalysisRegionofInterestDisplayImageZoomCustomfrm(const WindowContext& context);

private:
    void txtZoomValue_Change(const QString& text);
    void cmdOK_Click();

    QLineEdit* txtZoomValue_ = nullptr;
    std::string pending_;
};

}  // namespace kestrova
