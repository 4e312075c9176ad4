#pragma once

// A zoom typed as a per-cent from 1 to 500.

#include <functional>
#include <string>

#include "gFormDialog.h"

namespace kestrova {

// The custom zoom dialog of an image window: the text box starts at the window's zoom text
// (`zoomText`, read again at each change) and takes back that text when a typed value is not a
// zoom; OK passes the last accepted value to `apply` and closes.
class ZoomCustomDialog : public ChildWindow {
    Q_OBJECT
public:
    const std::string& pendingValue() const { return pending_; }

protected:
    ZoomCustomDialog(const WindowContext& context, const std::string& zoomText,
                     std::function<void(const std::string&)> apply);

private:
    void txtZoomValue_Change(const QString& text);
    void cmdOK_Click();

    const std::string& zoomText_;
    std::function<void(const std::string&)> apply_;
    QLineEdit* txtZoomValue_ = nullptr;
    std::string pending_;
};

class frmImageZoomCustomfrm : public ZoomCustomDialog {
    Q_OBJECT
public:
    explicit frmImageZoomCustomfrm(const WindowContext& context);
};

}  // namespace kestrova
