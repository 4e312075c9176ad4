#include "frmAnalysisRegionsofInterestValuesfrm.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "gFormServices.h"

namespace kestrova {
namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QGroupBox* addFrame(QWidget* parent, const char* name, const QString& caption)
{
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromLatin1(name));
    return frame;
}

}  // namespace

frmAnalysisRegionsofInterestValuesfrm::frmAnalysisRegionsofInterestValuesfrm(const WindowContext& context)
    : ChildWindow(context, QStringLiteral("Regions of Interest - Coordinates"))
{
    buildControls();
    if (menuItem_)
        menuItem_->setChecked(true);
    centre();

    snapshot_ = state_.roi;
    snapshotUnits_ = state_.calibration.WavelengthUnits;
    showFields(roiDialogFields(state_.roi, state_.calibration));
    showOptions();
    connectOptions();
}

frmAnalysisRegionsofInterestValuesfrm::OptionPair
frmAnalysisRegionsofInterestValuesfrm::addOptions(QWidget* frame, const char* firstName, const QString& firstCaption,
                                                  const char* secondName, const QString& secondCaption)
{
    OptionPair pair;
    pair.first = new QRadioButton(firstCaption, frame);
    pair.first->setObjectName(QString::fromLatin1(firstName));
    pair.second = new QRadioButton(secondCaption, frame);
    pair.second->setObjectName(QString::fromLatin1(secondName));
    return pair;
}

QLineEdit* frmAnalysisRegionsofInterestValuesfrm::addEntry(const char* name)
{
    auto* entry = new QLineEdit(this);
    entry->setObjectName(QString::fromLatin1(name));
    entry->setMaximumWidth(80);
    return entry;
}

void frmAnalysisRegionsofInterestValuesfrm::buildControls()
{
    const QString x = QStringLiteral("X:");
    const QString y = QStringLiteral("Y:");
    // A corner frame: X and Y, each a caption and a value control.
    const auto corner = [this, &x, &y](QWidget* into, const char* name, const QString& caption,
                                       std::array<const char*, 2> labelNames, QWidget* xValue, QWidget* yValue) {
        QGroupBox* frame = addFrame(into, name, caption);
        auto* grid = new QGridLayout(frame);
        grid->addWidget(addLabel(frame, labelNames[0], x), 0, 0);
        grid->addWidget(xValue, 0, 1);
        grid->addWidget(addLabel(frame, labelNames[1], y), 1, 0);
        grid->addWidget(yValue, 1, 1);
        return frame;
    };

    QGroupBox* fraRoI1 = addFrame(this, "fraRoI1", QStringLiteral("Region of Interest 1"));
    roi1_ = addOptions(fraRoI1, "optRoI1On", QStringLiteral("On"), "optRoI1Off", QStringLiteral("Off"));
    txtRoI1BLvalminX_ = addEntry("txtRoI1BLvalminX");
    txtRoI1BLvalminY_ = addEntry("txtRoI1BLvalminY");
    txtRoI1TRvalmaxX_ = addEntry("txtRoI1TRvalmaxX");
    txtRoI1TRvalmaxY_ = addEntry("txtRoI1TRvalmaxY");
    auto* roi1Grid = new QGridLayout(fraRoI1);
    roi1Grid->addWidget(roi1_.first, 0, 0);
    roi1Grid->addWidget(roi1_.second, 1, 0);
    roi1Grid->addWidget(corner(fraRoI1, "fraRoI1TL", QStringLiteral("Bottom Left"), {"lblRoI1BLX", "lblRoI1BLY"},
                               txtRoI1BLvalminX_, txtRoI1BLvalminY_),
                        0, 1, 2, 1);
    roi1Grid->addWidget(corner(fraRoI1, "fraRoI1BR", QStringLiteral("Top Right"), {"lblRoI1TRX", "lblRoI1TRY"},
                               txtRoI1TRvalmaxX_, txtRoI1TRvalmaxY_),
                        0, 2, 2, 1);

    QGroupBox* fraRoI2 = addFrame(this, "fraRoI2", QStringLiteral("Region of Interest 2"));
    roi2_ = addOptions(fraRoI2, "optRoI2On", QStringLiteral("On"), "optRoI2Off", QStringLiteral("Off"));
    lblRoI2BLvalminX_ = addLabel(fraRoI2, "lblRoI2BLvalminX", {});
    lblRoI2BLvalminY_ = addLabel(fraRoI2, "lblRoI2BLvalminY", {});
    lblRoI2TRvalmaxX_ = addLabel(fraRoI2, "lblRoI2TRvalmaxX", {});
    txtRoI2TRvalmaxY_ = addEntry("txtRoI2TRvalmaxY");
    auto* roi2Grid = new QGridLayout(fraRoI2);
    roi2Grid->addWidget(roi2_.first, 0, 0);
    roi2Grid->addWidget(roi2_.second, 1, 0);
    roi2Grid->addWidget(corner(fraRoI2, "fraRoI2TL", QStringLiteral("Bottom Left"), {"lblRoI2BLX", "lblRoI2BLY"},
                               lblRoI2BLvalminX_, lblRoI2BLvalminY_),
                        0, 1, 2, 1);
    roi2Grid->addWidget(corner(fraRoI2, "fraRoI2BR", QStringLiteral("Top Right"), {"lblRoI2TRX", "lblRoI2TRY"},
                               lblRoI2TRvalmaxX_, txtRoI2TRvalmaxY_),
                        0, 2, 2, 1);

    // The three option frames side by side, each a column of two options.
    const auto optionFrame = [this](const char* name, const QString& caption, const char* firstName,
                                    const QString& firstCaption, const char* secondName, const QString& secondCaption,
                                    OptionPair& pair) {
        QGroupBox* frame = addFrame(this, name, caption);
        pair = addOptions(frame, firstName, firstCaption, secondName, secondCaption);
        auto* column = new QGridLayout(frame);
        column->addWidget(pair.first, 0, 0);
        column->addWidget(pair.second, 1, 0);
        return frame;
    };
    QGroupBox* fraOperation =
        optionFrame("fraOperation", QStringLiteral("Operation"), "optRoIAdd", QStringLiteral("RoI 1 + RoI 2"),
                    "optRoISub", QStringLiteral("RoI 1 - RoI 2"), operation_);
    QGroupBox* fraProjections =
        optionFrame("fraXandYAxisProjections", QStringLiteral("Projections"), "optRoISum",
                    QStringLiteral("Display Sum"), "optRoIMean", QStringLiteral("Display Mean"), projections_);
    QGroupBox* fraUnits = optionFrame("fraUnits", QStringLiteral("X Units"), "optUnitsPixel", QStringLiteral("Pixel"),
                                      "optUnitsWavelength", QStringLiteral("Wavelength"), units_);

    QPushButton* set = addButton("cmdApply", QStringLiteral("&Set"));
    QPushButton* close = addButton("cmdClose", QStringLiteral("&Close"));
    QPushButton* cancel = addButton("cmdCancel", QStringLiteral("C&ancel"));
    setDefaultButton(set);

    auto* grid = new QGridLayout(this);
    grid->addWidget(fraRoI1, 0, 0, 1, 3);
    grid->addWidget(fraRoI2, 1, 0, 1, 3);
    grid->addWidget(fraOperation, 2, 0);
    grid->addWidget(fraProjections, 2, 1);
    grid->addWidget(fraUnits, 2, 2);
    grid->addWidget(set, 3, 0);
    grid->addWidget(close, 3, 1);
    grid->addWidget(cancel, 3, 2);

    connect(set, &QPushButton::clicked, this, [this] { ValidateRoIDialog(); });
    connect(close, &QPushButton::clicked, this, [this] {
        if (!ValidateRoIDialog())
            return;
        restoreOnUnload_ = false;
        this->close();
    });
    connect(cancel, &QPushButton::clicked, this, [this] { this->close(); });
}

void frmAnalysisRegionsofInterestValuesfrm::connectOptions()
{
    RoIRecord& roi = state_.roi;
    // Each click changes the record at once; the enabling follows.
    const auto on = [this](QRadioButton* option, auto change) {
        connect(option, &QRadioButton::clicked, this, [this, change] {
            change();
            changed_ = true;
            showOptions();
        });
    };
    on(roi1_.first, [&roi] { roi.RoI1On = true; });
    on(roi1_.second, [&roi] { roi.RoI1On = roi.RoI2On = false; });
    on(roi2_.first, [&roi] { roi.RoI2On = true; });
    on(roi2_.second, [&roi] { roi.RoI2On = false; });
    on(operation_.first, [&roi] { roi.Subtract = false; });
    on(operation_.second, [&roi] { roi.Subtract = true; });
    on(projections_.first, [&roi] { roi.Mean = false; });
    on(projections_.second, [&roi] { roi.Mean = true; });
    Calibration& calibration = state_.calibration;
    on(units_.first, [this, &calibration] {
        calibration.WavelengthUnits = false;
        showColumns();
    });
    on(units_.second, [this, &calibration] {
        calibration.WavelengthUnits = true;
        showColumns();
    });
}

void frmAnalysisRegionsofInterestValuesfrm::showOptions()
{
    const RoIRecord& roi = state_.roi;
    const auto show = [](const OptionPair& pair, bool first) {
        pair.first->setChecked(first);
        pair.second->setChecked(!first);
    };
    show(roi1_, roi.RoI1On);
    show(roi2_, roi.RoI2On);
    show(operation_, !roi.Subtract);
    show(projections_, !roi.Mean);
    show(units_, !state_.calibration.WavelengthUnits);
    enableOptions();
}

void frmAnalysisRegionsofInterestValuesfrm::enableOptions()
{
    const RoIRecord& roi = state_.roi;
    const auto enable = [](const OptionPair& pair, bool enabled) {
        pair.first->setEnabled(enabled);
        pair.second->setEnabled(enabled);
    };
    enable(roi2_, roi.RoI1On);
    enable(operation_, roi.RoI1On && roi.RoI2On);
    enable(units_, state_.calibration.calibrationLoaded);
}

void frmAnalysisRegionsofInterestValuesfrm::showFields(const RoIDialogFields& fields)
{
    txtRoI1BLvalminX_->setText(qs(fields.roi1BottomLeftX));
    txtRoI1BLvalminY_->setText(qs(fields.roi1BottomLeftY));
    txtRoI1TRvalmaxX_->setText(qs(fields.roi1TopRightX));
    txtRoI1TRvalmaxY_->setText(qs(fields.roi1TopRightY));
    txtRoI2TRvalmaxY_->setText(qs(fields.roi2TopRightY));
    lblRoI2BLvalminX_->setText(qs(fields.roi2BottomLeftX));
    lblRoI2BLvalminY_->setText(qs(fields.roi2BottomLeftY));
    lblRoI2TRvalmaxX_->setText(qs(fields.roi2TopRightX));
}

void frmAnalysisRegionsofInterestValuesfrm::showColumns()
{
    // Only the X fields change with the units; the Y fields keep what is typed there.
    const RoIDialogFields fields = roiDialogFields(state_.roi, state_.calibration);
    txtRoI1BLvalminX_->setText(qs(fields.roi1BottomLeftX));
    txtRoI1TRvalmaxX_->setText(qs(fields.roi1TopRightX));
    lblRoI2BLvalminX_->setText(qs(fields.roi2BottomLeftX));
    lblRoI2TRvalmaxX_->setText(qs(fields.roi2TopRightX));
}

RoIDialogFields frmAnalysisRegionsofInterestValuesfrm::typedFields() const
{
    RoIDialogFields fields;
    fields.roi1BottomLeftX = txtRoI1BLvalminX_->text().toStdString();
    fields.roi1BottomLeftY = txtRoI1BLvalminY_->text().toStdString();
    fields.roi1TopRightX = txtRoI1TRvalmaxX_->text().toStdString();
    fields.roi1TopRightY = txtRoI1TRvalmaxY_->text().toStdString();
    fields.roi2TopRightY = txtRoI2TRvalmaxY_->text().toStdString();
    fields.roi2BottomLeftX = lblRoI2BLvalminX_->text().toStdString();
    fields.roi2BottomLeftY = lblRoI2BLvalminY_->text().toStdString();
    fields.roi2TopRightX = lblRoI2TRvalmaxX_->text().toStdString();
    return fields;
}

bool frmAnalysisRegionsofInterestValuesfrm::ValidateRoIDialog()
{
    const RoIDialogCheck check = kestrova::ValidateRoIDialog(state_.roi, typedFields(), state_.calibration,
                                                             state_.image.width, state_.image.height);
    state_.roi = check.roi;
    changed_ = true;
    showFields(check.fields);
    if (!check.ok) {
        showMessage(qs(check.message));
        return false;
    }
    services_.refresh(Change::Regions);
    return true;
}

void frmAnalysisRegionsofInterestValuesfrm::unload()
{
    if (restoreOnUnload_) {
        state_.roi = snapshot_;
        state_.calibration.WavelengthUnits = snapshotUnits_;
        // Nothing to recompute when the record is as it was.
        if (changed_)
            services_.refresh(Change::Regions);
    }
    if (menuItem_)
        menuItem_->setChecked(false);
}

}  // namespace kestrova
