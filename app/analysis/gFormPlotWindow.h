#pragma once

// The frame of a plot window: the plot box, the two read-out labels under it, the Close button,
// the File menu with the plot outputs, and the layout that follows the window's size. A plot
// window supplies its drawing, its values text and its read-out.

#include <QString>
#include <string>

#include "gDataScale.h"
#include "gFormDialog.h"

class QEvent;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

namespace kestrova {

class DrawingTarget;
class PictureBox;

class PlotWindow : public ChildWindow {
    Q_OBJECT
public:
    // `outputSuffix` ends the names the outputs suggest ("-XAxisProjection").
    PlotWindow(const WindowContext& context, const QString& caption, const QString& outputSuffix);

    // The outputs of the File menu.
    void saveAsValues();
    void saveAsDisplay();
    void print();

protected:
    // Draws the plot; gives the plot rectangle drawn.
    virtual PlotGeometry drawPlot(DrawingTarget& target, int tickWidth, int lineWidth) = 0;
    virtual std::string valuesText() const = 0;
    // The read-out captions for the mouse at `x` over the plot box (box units).
    virtual void readOut(double x) = 0;
    // The geometry of the latest on-screen drawing, kept for the read-out.
    virtual void keepGeometry(const PlotGeometry& geometry) = 0;

    // The Resize step: clears the plot box and, when the window is large enough, lays the
    // controls out and draws the plot on screen.
    void redraw();
    // Sizes and centres the window, then shows the plot.
    void place();

    bool eventFilter(QObject* watched, QEvent* event) override;

    QMenuBar* menuBar_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    PictureBox* picAxes_ = nullptr;
    QLabel* lblX_ = nullptr;
    QLabel* lblvalX_ = nullptr;
    QLabel* lblZ_ = nullptr;
    QLabel* lblvalZ_ = nullptr;

private:
    void layOut();

    QWidget* area_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    QString outputSuffix_;
};

// A menu item of a window's own menus, named and captioned.
QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption, bool checkable = false);
QMenu* addSubmenu(QMenu* menu, const char* name, const QString& caption);

}  // namespace kestrova
