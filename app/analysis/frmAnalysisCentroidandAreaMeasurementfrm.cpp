#include "frmAnalysisCentroidandAreaMeasurementfrm.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "NumberFormat.h"
#include "ProgramState.h"
#include "gDataCentroid.h"
#include "gDataRoI.h"
#include "gFormProjection.h"

namespace kestrova {

namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

frmAnalysisCentroidandAreaMeasurementfrm::frmAnalysisCentroidandAreaMeasurementfrm(const WindowContext& context)
    : ChildWindow(context, QStringLiteral("Centroid and Area Measurement"))
{
    if (menuItem_)
        menuItem_->setChecked(true);

    // The results: the region, both projections, then the centre.
    BuildRegion(state_.image, state_.roi, state_.resultFlags, state_.region);
    const ProjectionInput input = projectionInputOf(state_);
    ComputeColumnProjection(input, state_.resultFlags, state_.projections);
    ComputeRowProjection(input, state_.resultFlags, state_.projections);
    const DataThresholds& dataThresholds = state_.dataThresholds;
    const CentroidThresholds thresholds =
        CentroidThresholdsFor(input.lower, dataThresholds.lower.on, input.upper, dataThresholds.upper.on, state_.region,
                              state_.image.isFloat);
    ComputeCentroid(state_.projections, thresholds, state_.resultFlags, state_.centroid);

    auto* grid = new QGridLayout(this);
    auto* fraCentre = new QGroupBox(QStringLiteral("Centroid"), this);
    fraCentre->setObjectName(QStringLiteral("fraCentre"));
    auto* centre = new QGridLayout(fraCentre);
    const auto row = [this](QGridLayout* into, QWidget* frame, int at, const char* name, const QString& caption,
                            const char* valueName, const QString& value) {
        into->addWidget(addLabel(frame, name, caption), at, 0, Qt::AlignRight);
        QLabel* label = addLabel(frame, valueName, value);
        label->setMinimumWidth(90);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        into->addWidget(label, at, 1);
        return label;
    };
    row(centre, fraCentre, 0, "lblX", QStringLiteral("X:"), "lblvalX",
        qs(formatNumber(state_.centroid.centroidX, "###0.00")));
    row(centre, fraCentre, 1, "lblY", QStringLiteral("Y:"), "lblvalY",
        qs(formatNumber(state_.centroid.centroidY, "###0.00")));
    QLabel* wavelength = row(centre, fraCentre, 2, "lblW", QStringLiteral("Wavelength:"), "lblvalW",
                             qs(CentroidWavelengthText(state_.calibration, state_.centroid.centroidX)));
    if (!state_.calibration.WavelengthUnits)
        wavelength->setAlignment(Qt::AlignCenter);
    grid->addWidget(fraCentre, 0, 0);

    auto* fraArea = new QGroupBox(QStringLiteral("Area"), this);
    fraArea->setObjectName(QStringLiteral("fraArea"));
    auto* area = new QGridLayout(fraArea);
    row(area, fraArea, 0, "lblPixels", QStringLiteral("Pixels:"), "lblvalArea",
        qs(formatNumber(state_.projections.column.pixelCount, "#######0")));
    grid->addWidget(fraArea, 1, 0);

    QPushButton* close = addButton("cmdClose", QStringLiteral("&Close"));
    setDefaultButton(close);
    grid->addWidget(close, 2, 0, Qt::AlignCenter);
    connect(close, &QPushButton::clicked, this, [this] { this->close(); });
    ChildWindow::centre();
}

void frmAnalysisCentroidandAreaMeasurementfrm::unload()
{
    if (menuItem_)
        menuItem_->setChecked(false);
}

QWidget* openCentroidWindow(const WindowContext& context)
{
    if (!AnalysisRegionReady(context.state))
        return nullptr;
    return new frmAnalysisCentroidandAreaMeasurementfrm(context);
}

}  // namespace kestrova
