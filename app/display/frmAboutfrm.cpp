#include "frmAboutfrm.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "KestrovaVersion.h"
#include "gFormServices.h"

namespace kestrova {

frmAboutfrm::frmAboutfrm(const WindowContext& context) : ChildWindow(context, QStringLiteral("About"))
{
    auto* column = new QVBoxLayout(this);
    QLabel* title = addLabel(this, "lbl4", programTitle() + u' ' + QString::fromLatin1(kVersionText));
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    title->setFont(font);
    title->setAlignment(Qt::AlignCenter);
    column->addWidget(title);
    QLabel* note = addLabel(this, "lblNote",
                            QStringLiteral("Simple analysis of monochrome spectrometer images:\n"
                                           "spectrum, profile, histogram, regions of interest,\n"
                                           "centroid and area."));
    note->setAlignment(Qt::AlignCenter);
    column->addWidget(note);
    QPushButton* close = addButton("cmdClose", QStringLiteral("&Close"));
    setDefaultButton(close);
    column->addWidget(close, 0, Qt::AlignCenter);
    connect(close, &QPushButton::clicked, this, [this] { this->close(); });
    centre();
}

}  // namespace kestrova
