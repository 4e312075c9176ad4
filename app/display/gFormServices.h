#pragma once

// The window services every window of the program goes through: the one message box, the
// open and save dialogs, the print dialog, twips, centring and the busy cursor. Each dialog
// service has a replaceable handler, so that tests answer exactly what the program asks.

#include <QString>
#include <functional>

#include "Messages.h"

class QPrinter;
class QWidget;

namespace kestrova {

// Title of every message box and the program's name in captions.
inline QString programTitle()
{
    return QStringLiteral("Kestrova");
}

// --- Message box: modal, critical icon, title "Kestrova". A message's detail (a converter's
// report) is the box's detailed text.
using MessageHandler = std::function<void(const QString& text)>;
void showMessage(const QString& text, const QString& detail = {});
void showMessages(const Messages& messages);
// Replaces the handler and returns the previous one; an empty handler restores the box.
MessageHandler setMessageHandler(MessageHandler handler);
// Receives the detail of each message shown through a handler (none: details are dropped).
using MessageDetailHandler = std::function<void(const QString& text, const QString& detail)>;
MessageDetailHandler setMessageDetailHandler(MessageDetailHandler handler);

// --- Open and save dialogs.
enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    QString fileName;  // preset name, with or without its folder
    QString filter;    // pairs of description and pattern separated by '|'
    QString folder;    // where a dialog whose preset has no folder starts; empty: the current folder
};

// Returns the chosen path, or an empty text when the user cancels.
using FileDialogHandler = std::function<QString(const FileDialogRequest& request)>;
QString runFileDialog(QWidget* parent, const FileDialogRequest& request);
FileDialogHandler setFileDialogHandler(FileDialogHandler handler);
// "Bitmap Files (*.bmp)|*.bmp|All files (*.*)|*.*" -> "Bitmap Files (*.bmp);;All files (*)".
QString nameFiltersFromPairs(const QString& filter);
// The extension a save dialog adds to a typed name without one: that of the name filter's first
// pattern ("Bitmap Files (*.bmp)" -> "bmp"); empty for "*" or "*.*".
QString defaultSuffix(const QString& nameFilter);

// --- Print dialog. The printer arrives with the stored orientation and copies and leaves with
// the user's choice. Returns false when the user cancels.
using PrintDialogHandler = std::function<bool(QPrinter& printer)>;
bool runPrintDialog(QWidget* parent, QPrinter& printer);
PrintDialogHandler setPrintDialogHandler(PrintDialogHandler handler);

// --- Twips (1/1440 inch) against screen pixels of a widget's screen, in one place.
double twipsPerPixel(const QWidget* widget);
double twipsFromPixels(double pixels, const QWidget* widget);
int pixelsFromTwips(double twips, const QWidget* widget);

// Left = (screen width - window width) / 2, top likewise.
void centreOnScreen(QWidget* window);

// The wait cursor while a converter runs; the window does not react meanwhile.
class BusyCursor {
public:
    BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    ~BusyCursor();
};

}  // namespace kestrova
