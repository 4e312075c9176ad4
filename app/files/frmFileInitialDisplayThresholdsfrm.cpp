#include "frmFileInitialDisplayThresholdsfrm.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "frmMainMenufrm.h"
#include "gFileSettings.h"
#include "gFormServices.h"

namespace kestrova {
namespace {

void writeInitialValues(ProgramState& state) {
    Messages messages;
    WriteInitialThresholds(initialValuesPath(state.settingsFolder), state.initialThresholds, messages);
    showMessages(messages);
}

}  // namespace

frmFileInitialDisplayThresholdsfrm::frmFileInitialDisplayThresholdsfrm(frmMainMenufrm& main)
    : ChildWindow(main, QStringLiteral("Initial Display Thresholds")) {
    lower_ = makeThresholdFrame(this, QStringLiteral("Lo"), QStringLiteral("Lower Threshold"), QStringLiteral("% Below"));
    upper_ = makeThresholdFrame(this, QStringLiteral("Hi"), QStringLiteral("Upper Threshold"), QStringLiteral("% Above"));
    QPushButton* save = addButton("cmdFileSave", QStringLiteral("&Set"));
    QPushButton* close = addButton("cmdClose", QStringLiteral("&Close"));
    QPushButton* cancel = addButton("cmdCancel", QStringLiteral("C&ancel"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(lower_.frame, 0, 0, 1, 3);
    grid->addWidget(upper_.frame, 1, 0, 1, 3);
    grid->addWidget(save, 2, 0);
    grid->addWidget(close, 2, 1);
    grid->addWidget(cancel, 2, 2);

    main_.mnuFileInitialDisplayThresholds->setChecked(true);
    centre();

    InitialThresholds& initial = main_.state().initialThresholds;
    snapshot_ = initial;
    lower_.on->setChecked(initial.lowerOn);
    lower_.off->setChecked(!initial.lowerOn);
    upper_.on->setChecked(initial.upperOn);
    upper_.off->setChecked(!initial.upperOn);
    lower_.text->setText(QString::fromStdString(initial.lowerText));
    upper_.text->setText(QString::fromStdString(initial.upperText));
    restore_ = true;

    connect(lower_.on, &QRadioButton::clicked, this, [&initial] { initial.lowerOn = true; });
    connect(lower_.off, &QRadioButton::clicked, this, [&initial] { initial.lowerOn = false; });
    connect(upper_.on, &QRadioButton::clicked, this, [&initial] { initial.upperOn = true; });
    connect(upper_.off, &QRadioButton::clicked, this, [&initial] { initial.upperOn = false; });
    connect(save, &QPushButton::clicked, this, [this] { ValidateAndSave(); });
    connect(close, &QPushButton::clicked, this, [this] {
        if (!ValidateAndSave())
            return;
        restore_ = false;
        this->close();
    });
    connect(cancel, &QPushButton::clicked, this, [this] { this->close(); });
}

bool frmFileInitialDisplayThresholdsfrm::ValidateAndSave() {
    const InitialThresholdsCheck check =
        validateInitialThresholds(lower_.text->text().toStdString(), upper_.text->text().toStdString());
    if (!check.ok) {
        showMessage(QString::fromStdString(check.message));
        return false;
    }
    InitialThresholds& initial = main_.state().initialThresholds;
    initial.lowerText = check.lowerText;
    initial.upperText = check.upperText;
    lower_.text->setText(QString::fromStdString(check.lowerText));
    upper_.text->setText(QString::fromStdString(check.upperText));
    writeInitialValues(main_.state());
    return true;
}

void frmFileInitialDisplayThresholdsfrm::unload() {
    if (restore_) {
        InitialThresholds& initial = main_.state().initialThresholds;
        initial.lowerOn = snapshot_.lowerOn;
        initial.lowerText = snapshot_.lowerText;
        initial.upperOn = snapshot_.upperOn;
        initial.upperText = snapshot_.upperText;
        writeInitialValues(main_.state());
    }
    main_.mnuFileInitialDisplayThresholds->setChecked(false);
}

}  // namespace kestrova
