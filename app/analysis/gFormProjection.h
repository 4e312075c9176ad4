#pragma once

// The SPECTRUM and PROFILE windows: one plot window over the column or the row projection of the
// analysis region, with its Mean/Sum choice, the spectrum's pixel/wavelength units, the limits
// dialog's command and the read-out under the mouse. Also the start every analysis window shares.

#include "gDataProjection.h"
#include "gDataScale.h"
#include "gFormPlotWindow.h"

class QAction;

namespace kestrova {

struct ProgramState;

inline constexpr const char* kAnalysisNotPerformed = "Minimum and Maximum Equal - Analysis Not Performed";

// Builds the analysis region; false (after the message) when its values have no range.
bool AnalysisRegionReady(ProgramState& state);
// What the projections are computed from, with the data thresholds in force.
ProjectionInput projectionInputOf(const ProgramState& state);

enum class ProjectionKind { Spectrum, Profile };

class ProjectionWindow : public PlotWindow {
    Q_OBJECT
public:
    ProjectionWindow(const WindowContext& context, ProjectionKind kind);

    ProjectionKind kind() const { return kind_; }
    const PlotScale& scale() const { return scale_; }

protected:
    PlotGeometry drawPlot(DrawingTarget& target, int tickWidth, int lineWidth) override;
    std::string valuesText() const override;
    void readOut(double x) override;
    void keepGeometry(const PlotGeometry& geometry) override { scale_.geometry = geometry; }
    void unload() override;

private:
    const Projection& projection() const;
    ProjectionLimits& limits() const;
    // SetScales: the scales from the projection and the options, the captions, the plot drawn.
    void setScales();
    void setUnits(bool wavelength);
    void setMean(bool mean);
    void openLimits();
    // The limits dialog, when open, opened again fresh; its restore is disarmed first.
    void reopenLimits();

    ProjectionKind kind_;
    PlotScale scale_;
    QAction* pixel_ = nullptr;
    QAction* wavelength_ = nullptr;
    QAction* mean_ = nullptr;
    QAction* sum_ = nullptr;
};

// The factories of the two windows: nothing opens for a region without range.
QWidget* openSpectrumWindow(const WindowContext& context);
QWidget* openProfileWindow(const WindowContext& context);

}  // namespace kestrova
