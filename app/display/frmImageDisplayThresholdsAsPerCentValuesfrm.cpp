#include "frmImageDisplayThresholdsAsPerCentValuesfrm.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "frmMainMenufrm.h"
#include "gDataThresholdEntry.h"
#include "gFormServices.h"

namespace kestrova {

frmImageDisplayThresholdsAsPerCentValuesfrm::frmImageDisplayThresholdsAsPerCentValuesfrm(frmMainMenufrm& main)
    : ChildWindow(main, QStringLiteral("Display Thresholds As % Values")) {
    lower_ = makeThresholdFrame(this, QStringLiteral("Lo"), QStringLiteral("Lower Threshold"), QStringLiteral("% Below"));
    upper_ = makeThresholdFrame(this, QStringLiteral("Hi"), QStringLiteral("Upper Threshold"), QStringLiteral("% Above"));
    QPushButton* apply = addButton("cmdApply", QStringLiteral("&Set"));
    QPushButton* close = addButton("cmdClose", QStringLiteral("&Close"));
    QPushButton* cancel = addButton("cmdCancel", QStringLiteral("C&ancel"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(lower_.frame, 0, 0, 1, 3);
    grid->addWidget(upper_.frame, 1, 0, 1, 3);
    grid->addWidget(apply, 2, 0);
    grid->addWidget(close, 2, 1);
    grid->addWidget(cancel, 2, 2);

    main_.mnuImageDisplayThresholdsAsPerCentValues->setChecked(true);
    centre();

    // The whole record is kept, so that Cancel puts back the picture exactly as it was.
    DisplayThresholds& thresholds = main_.state().displayThresholds;
    snapshot_ = thresholds;
    lower_.on->setChecked(thresholds.lower.on);
    lower_.off->setChecked(!thresholds.lower.on);
    upper_.on->setChecked(thresholds.upper.on);
    upper_.off->setChecked(!thresholds.upper.on);
    lower_.text->setText(QString::fromStdString(thresholds.lower.percentText));
    upper_.text->setText(QString::fromStdString(thresholds.upper.percentText));
    restore_ = true;

    connect(lower_.on, &QRadioButton::clicked, this, [&thresholds] { thresholds.lower.on = true; });
    connect(lower_.off, &QRadioButton::clicked, this, [&thresholds] { thresholds.lower.on = false; });
    connect(upper_.on, &QRadioButton::clicked, this, [&thresholds] { thresholds.upper.on = true; });
    connect(upper_.off, &QRadioButton::clicked, this, [&thresholds] { thresholds.upper.on = false; });
    connect(apply, &QPushButton::clicked, this, [this] {
        if (ValidateAndStore())
            main_.ApplyDisplayChange();
    });
    connect(close, &QPushButton::clicked, this, [this] {
        if (!ValidateAndStore())
            return;
        main_.ApplyDisplayChange();
        restore_ = false;
        this->close();
    });
    connect(cancel, &QPushButton::clicked, this, [this] { this->close(); });
}

bool frmImageDisplayThresholdsAsPerCentValuesfrm::ValidateAndStore() {
    const ThresholdEntryCheck check =
        StorePerCentThresholds(main_.state(), lower_.text->text().toStdString(), upper_.text->text().toStdString());
    if (!check.ok) {
        showMessage(QString::fromStdString(check.message));
        return false;
    }
    lower_.text->setText(QString::fromStdString(check.lowerText));
    upper_.text->setText(QString::fromStdString(check.upperText));
    return true;
}

void frmImageDisplayThresholdsAsPerCentValuesfrm::unload() {
    if (restore_)
        main_.state().displayThresholds = snapshot_;
    main_.ApplyDisplayChange();
    main_.mnuImageDisplayThresholdsAsPerCentValues->setChecked(false);
}

}  // namespace kestrova
