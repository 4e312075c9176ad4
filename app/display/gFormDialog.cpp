#include "gFormDialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gFormServices.h"

namespace kestrova {

ChildWindow::ChildWindow(const WindowContext& context, const QString& caption)
    : QWidget(context.owner, Qt::Dialog), state_(context.state), services_(context.services),
      menuItem_(context.menuItem)
{
    setWindowTitle(caption);
}

void ChildWindow::closeEvent(QCloseEvent* event)
{
    if (!unloaded_) {
        unloaded_ = true;
        unload();
    }
    event->accept();
}

void ChildWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (defaultButton_ && defaultButton_->isEnabled())
            defaultButton_->click();
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ChildWindow::setDefaultButton(QPushButton* button)
{
    if (defaultButton_)
        defaultButton_->setDefault(false);
    defaultButton_ = button;
    if (button)
        button->setDefault(true);
}

void ChildWindow::centre()
{
    adjustSize();
    setFixedSize(size());
    centreOnScreen(this);
}

QPushButton* ChildWindow::addButton(const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QLabel* ChildWindow::addLabel(QWidget* parent, const char* name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

ThresholdFrame makeThresholdFrame(QWidget* parent, const QString& side, const QString& caption,
                                  const QString& labelCaption)
{
    ThresholdFrame parts;
    parts.frame = new QGroupBox(caption, parent);
    parts.frame->setObjectName(QStringLiteral("fra") + side + QStringLiteral("Threshhold"));
    parts.on = new QRadioButton(QStringLiteral("On"), parts.frame);
    parts.on->setObjectName(QStringLiteral("opt") + side + QStringLiteral("ThresholdOn"));
    parts.off = new QRadioButton(QStringLiteral("Off"), parts.frame);
    parts.off->setObjectName(QStringLiteral("opt") + side + QStringLiteral("ThresholdOff"));
    parts.text = new QLineEdit(parts.frame);
    parts.text->setObjectName(QStringLiteral("txt") + side + QStringLiteral("ThresholdValue"));
    parts.text->setMinimumWidth(90);
    parts.label = new QLabel(labelCaption, parts.frame);
    parts.label->setObjectName(QStringLiteral("lbl") + side + QStringLiteral("ThresholdValue"));
    auto* grid = new QGridLayout(parts.frame);
    grid->addWidget(parts.on, 0, 0);
    grid->addWidget(parts.off, 1, 0);
    grid->addWidget(parts.text, 0, 1);
    grid->addWidget(parts.label, 0, 2);
    return parts;
}

}  // namespace kestrova
