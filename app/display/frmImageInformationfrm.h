#pragma once

// File name, size, data type and value range of the loaded image.

#include "gFormDialog.h"

namespace kestrova {

class frmImageInformationfrm : public ChildWindow {
    Q_OBJECT
public:
    explicit frmImageInformationfrm(const WindowContext& context);

protected:
    void unload() override;
};

}  // namespace kestrova
