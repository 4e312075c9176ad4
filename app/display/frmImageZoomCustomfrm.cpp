#include "frmImageZoomCustomfrm.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gDataZoom.h"

namespace kestrova {

frmImageZoomCustomfrm::frmImageZoomCustomfrm(const WindowContext& context) : ChildWindow(context, QStringLiteral("Zoom Custom")) {
    txtZoomValue_ = new QLineEdit(this);
    txtZoomValue_->setObjectName(QStringLiteral("txtZoomValue"));
    QPushButton* ok = addButton("cmdOK", QStringLiteral("&OK"));
    QPushButton* cancel = addButton("cmdCancel", QStringLiteral("&Cancel"));
    setDefaultButton(ok);
    auto* grid = new QGridLayout(this);
    grid->addWidget(addLabel(this, "lblZoomto", QStringLiteral("Zoom to:")), 0, 0);
    grid->addWidget(txtZoomValue_, 0, 1);
    grid->addWidget(addLabel(this, "lblPercent", QStringLiteral("%")), 0, 2);
    grid->addWidget(ok, 1, 0, 1, 2);
    grid->addWidget(cancel, 1, 2);
    centre();

    const std::string& zoomText = state_.zoom.zoomText;
    pending_ = zoomText;
    txtZoomValue_->setText(QString::fromStdString(zoomText));

    connect(txtZoomValue_, &QLineEdit::textChanged, this, [this](const QString& text) { txtZoomValue_Change(text); });
    connect(ok, &QPushButton::clicked, this, [this] {
        services_.applyCustomZoom(pending_);
        this->close();
    });
    connect(cancel, &QPushButton::clicked, this, [this] { this->close(); });
}

void frmImageZoomCustomfrm::txtZoomValue_Change(const QString& text) {
    if (text.isEmpty())
        return;
    const std::string typed = text.toStdString();
    const std::string& zoomText = state_.zoom.zoomText;
    pending_ = customZoomText(typed, zoomText);
    if (pending_ != typed)
        txtZoomValue_->setText(QString::fromStdString(zoomText));
}

}  // namespace kestrova
