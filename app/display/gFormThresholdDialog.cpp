#include "gFormThresholdDialog.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gFormServices.h"

namespace kestrova {

ThresholdDialog::ThresholdDialog(const WindowContext& context, const QString& caption, const QString& lowerLabel,
                                 const QString& upperLabel)
    : ChildWindow(context, caption)
{
    lower_ = makeThresholdFrame(this, QStringLiteral("Lo"), QStringLiteral("Lower Threshold"), lowerLabel);
    upper_ = makeThresholdFrame(this, QStringLiteral("Hi"), QStringLiteral("Upper Threshold"), upperLabel);
}

void ThresholdDialog::addExtremeLabels()
{
    const ImageStore& image = state_.image;
    auto* lowerGrid = static_cast<QGridLayout*>(lower_.frame->layout());
    lowerGrid->addWidget(addLabel(lower_.frame, "lblMinimum", QStringLiteral("Minimum")), 1, 2);
    lowerGrid->addWidget(addLabel(lower_.frame, "lblMiniimumValue", QString::fromStdString(image.minText)), 1, 1);
    auto* upperGrid = static_cast<QGridLayout*>(upper_.frame->layout());
    upperGrid->addWidget(addLabel(upper_.frame, "lblMaximum", QStringLiteral("Maximum")), 1, 2);
    upperGrid->addWidget(addLabel(upper_.frame, "lblMaxiimumValue", QString::fromStdString(image.maxText)), 1, 1);
}

void ThresholdDialog::addButtons(const char* setName)
{
    QPushButton* set = addButton(setName, QStringLiteral("&Set"));
    QPushButton* close = addButton("cmdClose", QStringLiteral("&Close"));
    QPushButton* cancel = addButton("cmdCancel", QStringLiteral("C&ancel"));
    setDefaultButton(set);
    auto* grid = new QGridLayout(this);
    grid->addWidget(lower_.frame, 0, 0, 1, 3);
    grid->addWidget(upper_.frame, 1, 0, 1, 3);
    grid->addWidget(set, 2, 0);
    grid->addWidget(close, 2, 1);
    grid->addWidget(cancel, 2, 2);

    if (menuItem_)
        menuItem_->setChecked(true);
    centre();

    connect(set, &QPushButton::clicked, this, [this] { setThresholds(); });
    connect(close, &QPushButton::clicked, this, [this] {
        if (!setThresholds())
            return;
        restore_ = false;
        this->close();
    });
    connect(cancel, &QPushButton::clicked, this, [this] { this->close(); });
}

void ThresholdDialog::showSides(bool& lowerOn, const std::string& lowerText, bool& upperOn,
                                const std::string& upperText)
{
    lower_.on->setChecked(lowerOn);
    lower_.off->setChecked(!lowerOn);
    upper_.on->setChecked(upperOn);
    upper_.off->setChecked(!upperOn);
    lower_.text->setText(QString::fromStdString(lowerText));
    upper_.text->setText(QString::fromStdString(upperText));

    connect(lower_.on, &QRadioButton::clicked, this, [&lowerOn] { lowerOn = true; });
    connect(lower_.off, &QRadioButton::clicked, this, [&lowerOn] { lowerOn = false; });
    connect(upper_.on, &QRadioButton::clicked, this, [&upperOn] { upperOn = true; });
    connect(upper_.off, &QRadioButton::clicked, this, [&upperOn] { upperOn = false; });
}

std::string ThresholdDialog::lowerEntry() const
{
    return lower_.text->text().toStdString();
}

std::string ThresholdDialog::upperEntry() const
{
    return upper_.text->text().toStdString();
}

bool ThresholdDialog::showCheck(bool ok, const std::string& message, const std::string& lowerText,
                                const std::string& upperText)
{
    if (!ok) {
        showMessage(QString::fromStdString(message));
        return false;
    }
    lower_.text->setText(QString::fromStdString(lowerText));
    upper_.text->setText(QString::fromStdString(upperText));
    return true;
}

void ThresholdDialog::unload()
{
    closeThresholds(restore_);
    if (menuItem_)
        menuItem_->setChecked(false);
}

}  // namespace kestrova
