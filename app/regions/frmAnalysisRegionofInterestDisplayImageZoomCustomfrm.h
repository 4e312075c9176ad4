#pragma once

// The region display window's zoom typed as a per-cent from 1 to 500.

#include "frmImageZoomCustomfrm.h"

namespace kestrova {

class frmAnalysisRegionofInterestDisplayImageZoomCustomfrm : public ZoomCustomDialog {
    Q_OBJECT
public:
    explicit frmAnalysisRegionofInterestDisplayImageZoomCustomfrm(const WindowContext& context);
};

}  // namespace kestrova
