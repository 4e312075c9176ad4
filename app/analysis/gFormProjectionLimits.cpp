#include "gFormProjectionLimits.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "NumberFormat.h"
#include "ProgramState.h"
#include "gDataLimits.h"
#include "gDataScale.h"
#include "gFormProjection.h"
#include "gFormServices.h"

namespace kestrova {

namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// A limit text shown in the read-out format; a text that is not a number as it is.
QString limitText(const std::string& text, const std::string& format)
{
    const std::optional<double> value = numericValue(text);
    return qs(value ? formatNumber(*value, format) : text);
}

struct LimitFrame {
    QRadioButton* on;
    QLineEdit* text;
    QLabel* automatic;
};

// One side's frame: Auto and Manual, the value box and the automatic value.
LimitFrame makeLimitFrame(QWidget* parent, QGridLayout* grid, int column, bool lower)
{
    const QString side = lower ? QStringLiteral("Lo") : QStringLiteral("Hi");
    auto* frame = new QGroupBox(lower ? QStringLiteral("Lower Limit") : QStringLiteral("Upper Limit"), parent);
    frame->setObjectName(QStringLiteral("fra") + side + QStringLiteral("Limit"));
    auto* off = new QRadioButton(QStringLiteral("Auto"), frame);
    off->setObjectName(QStringLiteral("opt") + side + QStringLiteral("LimitOff"));
    auto* on = new QRadioButton(QStringLiteral("Manual"), frame);
    on->setObjectName(QStringLiteral("opt") + side + QStringLiteral("LimitOn"));
    auto* text = new QLineEdit(frame);
    text->setObjectName(QStringLiteral("txt") + side + QStringLiteral("LimitValue"));
    text->setMinimumWidth(100);
    auto* valueLabel = new QLabel(QStringLiteral("Value"), frame);
    valueLabel->setObjectName(QStringLiteral("lbl") + side + QStringLiteral("LimitValue"));
    auto* name = new QLabel(lower ? QStringLiteral("Minimum") : QStringLiteral("Maximum"), frame);
    name->setObjectName(lower ? QStringLiteral("lblMinimum") : QStringLiteral("lblMaximum"));
    auto* automatic = new QLabel(frame);
    automatic->setObjectName(lower ? QStringLiteral("lblMiniimumValue") : QStringLiteral("lblMaxiimumValue"));
    auto* inner = new QGridLayout(frame);
    inner->addWidget(off, 0, 0);
    inner->addWidget(on, 1, 0);
    inner->addWidget(text, 1, 1);
    inner->addWidget(valueLabel, 1, 2);
    inner->addWidget(name, 2, 0);
    inner->addWidget(automatic, 2, 1);
    grid->addWidget(frame, 0, column);
    off->setChecked(true);
    return {on, text, automatic};
}

}  // namespace

const char* limitsWindowName(ProjectionKind kind)
{
    return kind == ProjectionKind::Spectrum ? windows::kSpectrumLimits : windows::kProfileLimits;
}

ProjectionLimitsDialog::ProjectionLimitsDialog(const WindowContext& context, ProjectionKind kind)
    : ChildWindow(context, kind == ProjectionKind::Spectrum ? QStringLiteral("X Projection Limits")
                                                            : QStringLiteral("Y Projection Limits")),
      kind_(kind)
{
    setLimitsItemChecked(true);
    auto* grid = new QGridLayout(this);
    const LimitFrame lower = makeLimitFrame(this, grid, 0, true);
    const LimitFrame upper = makeLimitFrame(this, grid, 1, false);
    optLoLimitOn_ = lower.on;
    optHiLimitOn_ = upper.on;
    txtLoLimitValue_ = lower.text;
    txtHiLimitValue_ = upper.text;
    auto* buttons = new QHBoxLayout;
    QPushButton* set = addButton("cmdApply", QStringLiteral("&Set"));
    QPushButton* closeButton = addButton("cmdClose", QStringLiteral("&Close"));
    QPushButton* cancel = addButton("cmdCancel", QStringLiteral("C&ancel"));
    for (QPushButton* button : {set, closeButton, cancel})
        buttons->addWidget(button);
    grid->addLayout(buttons, 1, 0, 1, 2);
    setDefaultButton(set);

    // The load: the copy for Cancel, the options and the pair the projection window shows.
    ProjectionLimits& record = limits();
    copy_ = record;
    optLoLimitOn_->setChecked(record.lowerManual);
    optHiLimitOn_->setChecked(record.upperManual);
    const bool mean = record.yScaleMean;
    const std::string format = FormatsByMagnitude(std::max(std::fabs(static_cast<float>(record.plotLo)),
                                                           std::fabs(static_cast<float>(record.plotHi))))
                                   .readoutFormat;
    const LimitPair automatic = AutomaticLimits(projection(), mean);
    lower.automatic->setText(qs(formatNumber(automatic.lower, format)));
    upper.automatic->setText(qs(formatNumber(automatic.upper, format)));
    txtLoLimitValue_->setText(limitText(mean ? record.meanLoText : record.sumLoText, format));
    txtHiLimitValue_->setText(limitText(mean ? record.meanHiText : record.sumHiText, format));
    txtLoLimitValue_->setEnabled(record.lowerManual);
    txtHiLimitValue_->setEnabled(record.upperManual);

    // The options change the record at once.
    connect(optLoLimitOn_, &QRadioButton::toggled, this, [this](bool manual) {
        limits().lowerManual = manual;
        txtLoLimitValue_->setEnabled(manual);
    });
    connect(optHiLimitOn_, &QRadioButton::toggled, this, [this](bool manual) {
        limits().upperManual = manual;
        txtHiLimitValue_->setEnabled(manual);
    });
    connect(set, &QPushButton::clicked, this, [this] {
        if (apply())
            refreshPlot();
    });
    connect(closeButton, &QPushButton::clicked, this, [this] {
        if (!apply())
            return;
        restoreArmed_ = false;
        refreshPlot();
        close();
    });
    connect(cancel, &QPushButton::clicked, this, [this] { close(); });
    centre();
}

ProjectionLimits& ProjectionLimitsDialog::limits() const
{
    return kind_ == ProjectionKind::Spectrum ? state_.projections.spectrumLimits : state_.projections.profileLimits;
}

const Projection& ProjectionLimitsDialog::projection() const
{
    return kind_ == ProjectionKind::Spectrum ? state_.projections.column : state_.projections.row;
}

bool ProjectionLimitsDialog::apply()
{
    Messages messages;
    const bool applied = ApplyLimits(limits(), projection(), txtLoLimitValue_->text().toStdString(),
                                     txtHiLimitValue_->text().toStdString(), messages);
    showMessages(messages);
    return applied;
}

void ProjectionLimitsDialog::refreshPlot()
{
    services_.refresh(kind_ == ProjectionKind::Spectrum ? Change::SpectrumLimits : Change::ProfileLimits);
}

void ProjectionLimitsDialog::setLimitsItemChecked(bool checked)
{
    const char* window = kind_ == ProjectionKind::Spectrum ? windows::kSpectrum : windows::kProfile;
    if (QWidget* projectionWindow = services_.openedWindow(QString::fromLatin1(window))) {
        if (auto* item = projectionWindow->findChild<QAction*>(QStringLiteral("mnuOptionsYScaleLimits")))
            item->setChecked(checked);
    }
}

void ProjectionLimitsDialog::unload()
{
    if (restoreArmed_) {
        limits() = copy_;
        refreshPlot();
    }
    setLimitsItemChecked(false);
}

QWidget* openSpectrumLimits(const WindowContext& context)
{
    return new ProjectionLimitsDialog(context, ProjectionKind::Spectrum);
}

QWidget* openProfileLimits(const WindowContext& context)
{
    return new ProjectionLimitsDialog(context, ProjectionKind::Profile);
}

}  // namespace kestrova
