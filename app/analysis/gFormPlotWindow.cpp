#include "gFormPlotWindow.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "gFormPictureBox.h"
#include "gFormPlotOutputs.h"
#include "gFormServices.h"

namespace kestrova {

namespace {

// The window's first size, in pixels.
constexpr int kWindowWidth = 760;
constexpr int kWindowHeight = 560;
// The value labels' designed width, in twips.
constexpr double kValueWidth = 1100.0;

}  // namespace

QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption, bool checkable)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    return action;
}

QMenu* addSubmenu(QMenu* menu, const char* name, const QString& caption)
{
    QMenu* submenu = menu->addMenu(caption);
    submenu->setObjectName(QString::fromLatin1(name));
    submenu->menuAction()->setObjectName(QString::fromLatin1(name));
    return submenu;
}

PlotWindow::PlotWindow(const WindowContext& context, const QString& caption, const QString& outputSuffix)
    : ChildWindow(context, caption), outputSuffix_(outputSuffix)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    menuBar_ = new QMenuBar(this);
    layout->setMenuBar(menuBar_);
    area_ = new QWidget(this);
    layout->addWidget(area_);

    QMenu* file = menuBar_->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QMenu* saveAs = addSubmenu(file, "mnuFileSaveAs", QStringLiteral("&Save As"));
    connect(addMenuItem(saveAs, "mnuFileSaveAsDisplay", QStringLiteral("&Display...")), &QAction::triggered, this,
            [this] { saveAsDisplay(); });
    connect(addMenuItem(saveAs, "mnuFileSaveAsValues", QStringLiteral("&Values...")), &QAction::triggered, this,
            [this] { saveAsValues(); });
    connect(addMenuItem(file, "mnuFilePrint", QStringLiteral("&Print...")), &QAction::triggered, this,
            [this] { print(); });
    connect(addMenuItem(file, "mnuFileExit", QStringLiteral("E&xit")), &QAction::triggered, this, [this] { close(); });
    optionsMenu_ = menuBar_->addMenu(QStringLiteral("&Options"));
    optionsMenu_->setObjectName(QStringLiteral("mnuOptions"));

    picAxes_ = new PictureBox(area_);
    picAxes_->setObjectName(QStringLiteral("picAxes"));
    picAxes_->setFixedSingleBorder(true);
    picAxes_->setMouseTracking(true);
    connect(picAxes_, &PictureBox::mouseMove, this, [this](Qt::MouseButtons, double x, double) { readOut(x); });
    lblX_ = addLabel(area_, "lblX", {});
    lblvalX_ = addLabel(area_, "lblvalX", {});
    lblZ_ = addLabel(area_, "lblZ", {});
    lblvalZ_ = addLabel(area_, "lblvalZ", {});
    cmdClose_ = new QPushButton(QStringLiteral("&Close"), area_);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));
    cmdClose_->setAutoDefault(false);
    setDefaultButton(cmdClose_);
    connect(cmdClose_, &QPushButton::clicked, this, [this] { close(); });
    area_->installEventFilter(this);
}

void PlotWindow::place()
{
    resize(kWindowWidth, kWindowHeight);
    centreOnScreen(this);
}

bool PlotWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == area_ && event->type() == QEvent::Resize)
        redraw();
    return ChildWindow::eventFilter(watched, event);
}

void PlotWindow::redraw()
{
    picAxes_->clearPicture();
    const double w = twipsFromPixels(area_->width(), area_);
    const double h = twipsFromPixels(area_->height(), area_);
    if (!(w > 480.0 && h > 1080.0))
        return;
    layOut();
    picAxes_->resetUserScale();
    picAxes_->draw([this](DrawingTarget& target) { keepGeometry(drawPlot(target, 1, 1)); });
}

void PlotWindow::layOut()
{
    const double w = twipsFromPixels(area_->width(), area_);
    const double h = twipsFromPixels(area_->height(), area_);
    const auto px = [this](double twips) { return pixelsFromTwips(twips, area_); };
    picAxes_->setGeometry(px(240.0), px(240.0), px(w - 480.0), px(h - 1080.0));
    const int valueWidth = px(kValueWidth);
    const int labelHeight = lblvalX_->sizeHint().height();
    lblvalX_->setGeometry(px(w / 2.0 - 1260.0), px(h - 750.0), valueWidth, labelHeight);
    lblvalZ_->setGeometry(px(w / 2.0 + 660.0), px(h - 750.0), valueWidth, labelHeight);
    for (QLabel* label : {lblX_, lblZ_}) {
        const QLabel* value = label == lblX_ ? lblvalX_ : lblvalZ_;
        const int width = label->sizeHint().width();
        label->setGeometry(value->x() - width - px(72.0), px(h - 690.0), width, labelHeight);
    }
    const QSize button = cmdClose_->sizeHint();
    cmdClose_->setGeometry((area_->width() - button.width()) / 2, px(h - 330.0), button.width(), button.height());
}

void PlotWindow::saveAsValues()
{
    SaveAsValues(this, SuggestedOutputName(state_.image, outputSuffix_), [this] { return valuesText(); });
}

void PlotWindow::saveAsDisplay()
{
    SaveAsDisplay(this, state_, *picAxes_, SuggestedOutputName(state_.image, outputSuffix_));
}

void PlotWindow::print()
{
    // The printed drawing keeps nothing: the read-out follows the on-screen plot only.
    PrintDrawing(this, services_.printSettings(), [this](DrawingTarget& target, int tickWidth, int lineWidth) {
        drawPlot(target, tickWidth, lineWidth);
    });
}

}  // namespace kestrova
