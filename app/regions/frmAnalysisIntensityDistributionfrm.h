#pragma once

// The intensity histogram of the analysis region: 256 bins on a linear or logarithmic count
// axis, markers at the data or the display thresholds, the read-out of the bin under the mouse,
// and the values, display and print outputs.

#include "RegionHistogram.h"
#include "gDataHistogramPlot.h"
#include "gFormDialog.h"

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kestrova {

class DrawingTarget;
class PictureBox;
struct HistogramContent;

class frmAnalysisIntensityDistributionfrm : public ChildWindow {
    Q_OBJECT
public:
    explicit frmAnalysisIntensityDistributionfrm(const WindowContext& context);

    const HistogramScales& scales() const { return scales_; }

protected:
    void unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenus();
    void PrepareHistogram();
    // An option changed: the scales again from the counts (not recomputed), then the plot.
    void optionsChanged();
    void updateOptionChecks();
    void Form_Resize();
    HistogramContent content() const;
    HistogramGeometry draw(DrawingTarget& target, int lineWidth, int frameWidth) const;
    void picAxes_MouseMove(double x);

    QWidget* area_ = nullptr;
    PictureBox* picAxes_ = nullptr;
    QGroupBox* fraValues_ = nullptr;
    QLabel* lblvalI_ = nullptr;
    QLabel* lblvalZ_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    QAction* mnuOptionsYScaleLin_ = nullptr;
    QAction* mnuOptionsYScaleLog_ = nullptr;
    QAction* mnuOptionsDataThresholds_ = nullptr;
    QAction* mnuOptionsDisplayThresholds_ = nullptr;

    HistogramScales scales_;
    HistogramGeometry geometry_;  // of the latest on-screen drawing
};

}  // namespace kestrova
