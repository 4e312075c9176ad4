#include "frmAnalysisRegionofInterestDisplayImageZoomCustomfrm.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "frmAnalysisRegionofInterestDisplayfrm.h"
#include "gDataZoom.h"

namespace kestrova {

frmAnalysisRegionofInterestDisplayImageZoomCustomfrm::frmAnalysisRegionofInterestDisplayImageZoomCustomfrm(
    const WindowContext& context)
    : ChildWindow(context, QStringLiteral("Zoom Custom")) {
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

    pending_ = state_.regionDisplay.regionZoomText;
    txtZoomValue_->setText(QString::fromStdString(pending_));
    connect(txtZoomValue_, &QLineEdit::textChanged, this, [this](const QString& text) { txtZoomValue_Change(text); });
    connect(ok, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cancel, &QPushButton::clicked, this, [this] { this->close(); });
}

void frmAnalysisRegionofInterestDisplayImageZoomCustomfrm::txtZoomValue_Change(const QString& text) {
    if (text.isEmpty())
        return;
    const std::string typed = text.toStdString();
    const std::string& zoomText = state_.regionDisplay.regionZoomText;
    pending_ = customZoomText(typed, zoomText);
    if (pending_ != typed)
        txtZoomValue_->setText(QString::fromStdString(zoomText));
}

void frmAnalysisRegionofInterestDisplayImageZoomCustomfrm::cmdOK_Click() {
    // The zoom belongs to the open region display window; without one there is nothing to zoom.
    auto* region = qobject_cast<frmAnalysisRegionofInterestDisplayfrm*>(
        services_.openedWindow(QString::fromLatin1(windows::kRegionDisplay)));
    if (region)
        region->applyCustomZoom(pending_);
    close();
}

}  // namespace kestrova
