#pragma once

// A fresh main window for one test: its own work folder (TMP) and settings root (AppData),
// every message captured, the file and print dialogs answered by the test.

#include <QAction>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ProgramState.h"
#include "frmMainMenufrm.h"
#include "gFormServices.h"

class QPrinter;
class QProcess;

namespace kestrova {
class PictureBox;
}

namespace uitest {

class UiFixture {
public:
    // `before` runs after the folders exist and before the window starts (to prepare settings).
    explicit UiFixture(const std::function<void(UiFixture&)>& before = {});
    UiFixture(const UiFixture&) = delete;
    UiFixture& operator=(const UiFixture&) = delete;
    ~UiFixture();

    QString folder() const { return dir_.path(); }
    QString workFolder() const { return folder() + QStringLiteral("/tmp"); }
    QString settingsFolder() const { return folder() + QStringLiteral("/appdata/Halvern Labs/Kestrova"); }
    QString dataFolder() const { return folder() + QStringLiteral("/data"); }
    QString dataFile(const QString& name) const { return dataFolder() + u'/' + name; }

    kestrova::frmMainMenufrm& window() { return *window_; }
    kestrova::ProgramState& state() { return *state_; }

    QAction* action(const char* name);
    // A control of the main window by its objectName; throws when there is none.
    template <typename T>
    T* widget(const char* name)
    {
        T* found = window_->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            throw std::runtime_error(std::string("no control ") + name);
        return found;
    }
    kestrova::PictureBox* box(const char* name);
    // Triggers a menu item; false when it is disabled (as a user could not click it).
    bool trigger(const char* name);
    bool isEnabled(const char* name);
    QString text(const char* labelName);
    // A visible child window by its name, or nullptr.
    QWidget* child(const char* name);
    template <typename T>
    T* control(QWidget* parent, const char* name)
    {
        return parent->findChild<T*>(QString::fromLatin1(name));
    }

    // File dialogs: each request takes the next answer; an empty answer (or none left) cancels.
    QStringList fileAnswers;
    QList<kestrova::FileDialogRequest> fileRequests;
    // Print dialog: the answer (false = cancel); the printer is as the program prepared it.
    std::function<bool(QPrinter&)> printAnswer;
    // Every message shown, in order.
    QStringList messages;

    // File Open through the answered dialog; true when the image state was reached.
    bool openThroughMenu(const QString& path);
    // Moves the mouse over picBox2 to a point of its user coordinates (image pixels).
    void moveMouse(double x, double y);
    // Prepares `program` to run the built program offscreen with this test's folders (TMP and
    // AppData) and gives the program's path.
    QString prepareProgram(QProcess& program) const;

private:
    QTemporaryDir dir_;
    std::unique_ptr<kestrova::ProgramState> state_;
    std::unique_ptr<kestrova::frmMainMenufrm> window_;
    kestrova::MessageHandler previousMessages_;
    kestrova::FileDialogHandler previousFiles_;
    kestrova::PrintDialogHandler previousPrint_;
    QByteArray previousTmp_;
    QByteArray previousAppData_;
};

// Writes and opens a 2048 x 512 image (base scale 0.5: 100 % shows 1024 x 256 screen pixels);
// throws when it does not open.
void openWideImage(UiFixture& f);

// Image files written by the test. Rows are given bottom row first (the program's row 1).
void writePgm(const QString& path, int width, int height, int maxValue, const std::vector<int>& bottomFirst);
// A float FITS file through the suite's own ksv2fit.
bool writeFloatFits(const QString& path, int width, int height, const std::vector<float>& bottomFirst);
void writeText(const QString& path, const QByteArray& text);
QByteArray readFile(const QString& path);

// Pixels of a 32-bit bitmap file, bottom row first, as grey levels (the blue byte); empty when
// the file is not such a bitmap.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> grey;  // bottom row first
    std::vector<std::uint8_t> fourth;
};
Bitmap readBitmap32(const QString& path);

// Nearest integer, halves to the even neighbour.
long roundHalfEven(double value);

}  // namespace uitest
