#pragma once

// The program's name and version.

#include "gFormDialog.h"

namespace kestrova {

class frmAboutfrm : public ChildWindow {
    Q_OBJECT
public:
    explicit frmAboutfrm(const WindowContext& context);
};

}  // namespace kestrova
