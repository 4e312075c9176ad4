#include "frmImageZoomCustomfrm.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gDataZoom.h"

namespace kestrova {

ZoomCustomDialog::ZoomCustomDialog(const WindowContext& context, const std::string& zoomText,
                                   std::function<void(const std::string&)> apply)
    : ChildWindow(context, QStringLiteral("Zoom Custom")), zoomText_(zoomText), apply_(std::move(apply))
{
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

    pending_ = zoomText_;
    txtZoomValue_->setText(QString::fromStdString(zoomText_));

    connect(txtZoomValue_, &QLineEdit::textChanged, this, [this](const QString& text) { txtZoomValue_Change(text); });
    connect(ok, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cancel, &QPushButton::clicked, this, [this] { this->close(); });
}

void ZoomCustomDialog::txtZoomValue_Change(const QString& text)
{
    if (text.isEmpty())
        return;
    const std::string typed = text.toStdString();
    pending_ = customZoomText(typed, zoomText_);
    if (pending_ != typed)
        txtZoomValue_->setText(QString::fromStdString(zoomText_));
}

void ZoomCustomDialog::cmdOK_Click()
{
    apply_(pending_);
    close();
}

frmImageZoomCustomfrm::frmImageZoomCustomfrm(const WindowContext& context)
    : ZoomCustomDialog(context, context.state.zoom.zoomText,
                       [&services = context.services](const std::string& text) { services.applyCustomZoom(text); })
{}

}  // namespace kestrova
