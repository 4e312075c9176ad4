#include "frmImageInformationfrm.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace kestrova {

frmImageInformationfrm::frmImageInformationfrm(const WindowContext& context)
    : ChildWindow(context, QStringLiteral("Information"))
{
    if (menuItem_)
        menuItem_->setChecked(true);
    const ImageStore& image = state_.image;
    auto* grid = new QGridLayout(this);
    const auto row = [this, grid](int at, const char* name, const QString& caption, const char* valueName,
                                  const QString& value) {
        grid->addWidget(addLabel(this, name, caption), at, 0);
        grid->addWidget(addLabel(this, valueName, value), at, 1);
    };
    row(0, "lblFn", QStringLiteral("File name:"), "lblvalFn",
        QString::fromStdString(image.imageBaseName + image.imageExtension));
    row(1, "lblWidth", QStringLiteral("Width:"), "lblvalWidth", QString::number(image.width));
    grid->addWidget(addLabel(this, "lblWidthPixels", QStringLiteral("pixels")), 1, 2);
    row(2, "lblHeight", QStringLiteral("Height:"), "lblvalHeight", QString::number(image.height));
    grid->addWidget(addLabel(this, "lblHeightPixels", QStringLiteral("pixels")), 2, 2);
    row(3, "lblType", QStringLiteral("Data type:"), "lblvalType", QString::fromStdString(image.dataTypeName));
    row(4, "lblMin", QStringLiteral("Minimum:"), "lblvalMin", QString::fromStdString(image.minText));
    row(5, "lblMax", QStringLiteral("Maximum:"), "lblvalMax", QString::fromStdString(image.maxText));
    QPushButton* close = addButton("cmdClose", QStringLiteral("&Close"));
    setDefaultButton(close);
    grid->addWidget(close, 6, 1);
    connect(close, &QPushButton::clicked, this, [this] { this->close(); });
    centre();
}

void frmImageInformationfrm::unload()
{
    if (menuItem_)
        menuItem_->setChecked(false);
}

}  // namespace kestrova
