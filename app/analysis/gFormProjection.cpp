#include "gFormProjection.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

#include "NumberFormat.h"
#include "ProgramState.h"
#include "gDataAnalysis.h"
#include "gDataPlotGeometry.h"
#include "gDataRoI.h"
#include "gFileValues.h"
#include "gFormPictureBox.h"
#include "gFormPlot.h"
#include "gFormProjectionLimits.h"
#include "gFormServices.h"

namespace kestrova {

namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

bool AnalysisRegionReady(ProgramState& state)
{
    BuildRegion(state.image, state.roi, state.resultFlags, state.region);
    if (state.region.HasRange)
        return true;
    showMessage(QString::fromLatin1(kAnalysisNotPerformed));
    return false;
}

ProjectionInput projectionInputOf(const ProgramState& state)
{
    const EffectiveDataThresholds thresholds = effectiveDataThresholds(state.dataThresholds, state.image);
    const bool isFloat = state.image.isFloat;
    return ProjectionInput{
        state.image,
        state.region,
        isFloat ? static_cast<double>(thresholds.floatLower) : static_cast<double>(thresholds.intLower),
        isFloat ? static_cast<double>(thresholds.floatUpper) : static_cast<double>(thresholds.intUpper),
        state.inversion.invertIntensity,
        state.roi.Mean};
}

ProjectionWindow::ProjectionWindow(const WindowContext& context, ProjectionKind kind)
    : PlotWindow(context,
                 kind == ProjectionKind::Spectrum ? QStringLiteral("SPECTRUM (X Axis Projection)")
                                                  : QStringLiteral("PROFILE (Y Axis Projection)"),
                 kind == ProjectionKind::Spectrum ? QStringLiteral("-XAxisProjection")
                                                  : QStringLiteral("-YAxisProjection")),
      kind_(kind)
{
    if (menuItem_)
        menuItem_->setChecked(true);
    const bool spectrum = kind_ == ProjectionKind::Spectrum;
    if (spectrum) {
        QMenu* xScale = addSubmenu(optionsMenu_, "mnuOptionsXScale", QStringLiteral("&X Scale"));
        pixel_ = addMenuItem(xScale, "mnuOptionsXScalePixel", QStringLiteral("&Pixel"), true);
        wavelength_ = addMenuItem(xScale, "mnuOptionsXScaleWavelength", QStringLiteral("&Wavelength"), true);
        connect(pixel_, &QAction::triggered, this, [this] { setUnits(false); });
        connect(wavelength_, &QAction::triggered, this, [this] { setUnits(true); });
        xScale->menuAction()->setEnabled(state_.calibration.calibrationLoaded);
    }
    QMenu* yScale = addSubmenu(optionsMenu_, "mnuOptionsYScale", QStringLiteral("&Y Scale"));
    mean_ = addMenuItem(yScale, "mnuOptionsYScaleMean", QStringLiteral("&Mean"), true);
    sum_ = addMenuItem(yScale, "mnuOptionsYScaleSum", QStringLiteral("&Sum"), true);
    QAction* limitsItem = addMenuItem(yScale, "mnuOptionsYScaleLimits", QStringLiteral("&Limits"), true);
    connect(mean_, &QAction::triggered, this, [this] { setMean(true); });
    connect(sum_, &QAction::triggered, this, [this] { setMean(false); });
    connect(limitsItem, &QAction::triggered, this, [this] { openLimits(); });
    limitsItem->setChecked(services_.openedWindow(QString::fromLatin1(limitsWindowName(kind_))) != nullptr);

    // The load: the region, the projection unless it is cached, the scales and the plot.
    BuildRegion(state_.image, state_.roi, state_.resultFlags, state_.region);
    const ProjectionInput input = projectionInputOf(state_);
    const ProjectionsComputed computed = spectrum
                                             ? ComputeColumnProjection(input, state_.resultFlags, state_.projections)
                                             : ComputeRowProjection(input, state_.resultFlags, state_.projections);
    if (pixel_) {
        pixel_->setChecked(!state_.calibration.WavelengthUnits);
        wavelength_->setChecked(state_.calibration.WavelengthUnits);
    }
    setScales();
    place();
    // Limits reset to Auto by the computation are the open limits dialog's new starting point.
    if (spectrum ? computed.column : computed.row)
        reopenLimits();
}

const Projection& ProjectionWindow::projection() const
{
    return kind_ == ProjectionKind::Spectrum ? state_.projections.column : state_.projections.row;
}

ProjectionLimits& ProjectionWindow::limits() const
{
    return kind_ == ProjectionKind::Spectrum ? state_.projections.spectrumLimits : state_.projections.profileLimits;
}

void ProjectionWindow::setScales()
{
    const bool spectrum = kind_ == ProjectionKind::Spectrum;
    Messages messages;
    scale_ = SetScales(limits(), projection().first, projection().last(), spectrum ? &state_.calibration : nullptr,
                       messages);
    showMessages(messages);
    const bool mean = limits().yScaleMean;
    mean_->setChecked(mean);
    sum_->setChecked(!mean);
    lblX_->setText(spectrum && scale_.wavelengthMode ? QStringLiteral("Wavelength:") : QStringLiteral("Pixel:"));
    QString valueCaption = mean ? QStringLiteral("Mean Intensity") : QStringLiteral("Sum Intensity");
    if (spectrum)
        valueCaption += u':';
    lblZ_->setText(valueCaption);
    lblvalX_->clear();
    lblvalZ_->clear();
    redraw();
}

PlotGeometry ProjectionWindow::drawPlot(DrawingTarget& target, int tickWidth, int lineWidth)
{
    const ImageStore& image = state_.image;
    const RoIRecord& roi = state_.roi;
    const Calibration& calibration = state_.calibration;
    const bool mean = limits().yScaleMean;
    const PlotContent content{projection(),
                              scale_,
                              mean,
                              calibration.calibrationLoaded ? &calibration.wavelengths : nullptr,
                              PlotTitle(image.imageBaseName, image.imageExtension),
                              PlotYTitle(mean, roi.RoI1On, roi.RoI2On, roi.Subtract)};
    return DrawPlot(target, content, tickWidth, lineWidth);
}

std::string ProjectionWindow::valuesText() const
{
    const Calibration& calibration = state_.calibration;
    const bool inWavelength =
        kind_ == ProjectionKind::Spectrum && calibration.WavelengthUnits && calibration.calibrationLoaded;
    return ProjectionValuesText(projection(), limits().yScaleMean, inWavelength ? &calibration.wavelengths : nullptr);
}

void ProjectionWindow::readOut(double x)
{
    lblvalX_->setEnabled(true);
    lblvalZ_->setEnabled(true);
    lblvalX_->clear();
    lblvalZ_->clear();
    const std::optional<std::int32_t> at = ReadoutPosition(scale_, x);
    if (!at)
        return;
    const std::int32_t p = *at;
    const std::vector<float>& wavelengths = state_.calibration.wavelengths;
    if (scale_.wavelengthMode && p >= 1 && static_cast<std::size_t>(p) <= wavelengths.size())
        lblvalX_->setText(qs(formatNumber(wavelengths[static_cast<std::size_t>(p) - 1], "###0.0")));
    else
        lblvalX_->setText(qs(formatNumber(p, "###0")));
    lblvalZ_->setText(qs(formatNumber(projection().valueAt(p, limits().yScaleMean), scale_.readoutFormat)));
}

void ProjectionWindow::setUnits(bool wavelength)
{
    state_.calibration.WavelengthUnits = wavelength;
    pixel_->setChecked(!wavelength);
    wavelength_->setChecked(wavelength);
    setScales();
}

void ProjectionWindow::setMean(bool mean)
{
    limits().yScaleMean = mean;
    setScales();
    // The dialog shows the other pair, in its format; the Manual flags carry over.
    reopenLimits();
}

void ProjectionWindow::openLimits()
{
    if (QAction* item = findChild<QAction*>(QStringLiteral("mnuOptionsYScaleLimits")))
        item->setChecked(true);
    services_.openWindow(QString::fromLatin1(limitsWindowName(kind_)));
}

void ProjectionWindow::reopenLimits()
{
    const QString name = QString::fromLatin1(limitsWindowName(kind_));
    auto* dialog = qobject_cast<ProjectionLimitsDialog*>(services_.openedWindow(name));
    if (!dialog)
        return;
    dialog->disarmRestore();
    services_.openWindow(name);
}

void ProjectionWindow::unload()
{
    if (menuItem_)
        menuItem_->setChecked(false);
}

namespace {

QWidget* openProjection(const WindowContext& context, ProjectionKind kind)
{
    if (!AnalysisRegionReady(context.state))
        return nullptr;
    return new ProjectionWindow(context, kind);
}

}  // namespace

QWidget* openSpectrumWindow(const WindowContext& context)
{
    return openProjection(context, ProjectionKind::Spectrum);
}

QWidget* openProfileWindow(const WindowContext& context)
{
    return openProjection(context, ProjectionKind::Profile);
}

}  // namespace kestrova
