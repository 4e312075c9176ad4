#pragma once

// The frame of every modeless child window: a dialog-style window over the main window whose
// one unload handler runs however it is closed (its own button or the window's close box).

#include <QString>
#include <QWidget>

#include "gFormWindows.h"

class QCloseEvent;
class QKeyEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kestrova {

class ChildWindow : public QWidget {
    Q_OBJECT
public:
    ChildWindow(const WindowContext& context, const QString& caption);

protected:
    // Runs once when the window closes, by any means.
    virtual void unload() {}
    void closeEvent(QCloseEvent* event) override;
    // Enter clicks the default button; Escape closes the window.
    void keyPressEvent(QKeyEvent* event) override;
    void setDefaultButton(QPushButton* button);
    // Sizes the window to its contents and centres it on the screen.
    void centre();

    QPushButton* addButton(const char* name, const QString& caption);
    QLabel* addLabel(QWidget* parent, const char* name, const QString& caption);

    ProgramState& state_;
    WindowServices& services_;
    QAction* menuItem_;  // may be null

private:
    bool unloaded_ = false;
    QPushButton* defaultButton_ = nullptr;
};

// A frame with an On and an Off option, a text box and its label.
struct ThresholdFrame {
    QGroupBox* frame = nullptr;
    QRadioButton* on = nullptr;
    QRadioButton* off = nullptr;
    QLineEdit* text = nullptr;
    QLabel* label = nullptr;
};
// Names come from the side: "Lo" or "Hi" ("fraLoThreshhold", "optLoThresholdOn", ...).
ThresholdFrame makeThresholdFrame(QWidget* parent, const QString& side, const QString& caption,
                                  const QString& labelCaption);

}  // namespace kestrova
