#pragma once

// "Centroid and Area Measurement": the intensity-weighted centre of the analysis region in
// columns and rows, the wavelength at its column, and the area (the pixels the data thresholds
// accept). The values are shown once, at load.

#include "gFormDialog.h"

namespace kestrova {

class frmAnalysisCentroidandAreaMeasurementfrm : public ChildWindow {
    Q_OBJECT
public:
    explicit frmAnalysisCentroidandAreaMeasurementfrm(const WindowContext& context);

protected:
    void unload() override;
};

// The factory: nothing opens for a region without range.
QWidget* openCentroidWindow(const WindowContext& context);

}  // namespace kestrova
