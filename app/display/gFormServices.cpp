#include "gFormServices.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStringList>
#include <QWidget>
#include <cmath>
#include <utility>

#include "gDataLayout.h"

namespace kestrova {
namespace {

MessageHandler& messageHandler()
{
    static MessageHandler handler;
    return handler;
}

FileDialogHandler& fileDialogHandler()
{
    static FileDialogHandler handler;
    return handler;
}

MessageDetailHandler& messageDetailHandler()
{
    static MessageDetailHandler handler;
    return handler;
}

PrintDialogHandler& printDialogHandler()
{
    static PrintDialogHandler handler;
    return handler;
}

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

QString runQtFileDialog(QWidget* parent, const FileDialogRequest& request)
{
    const QFileInfo preset(request.fileName);
    QFileDialog dialog(parent);
    dialog.setNameFilters(nameFiltersFromPairs(request.filter).split(QStringLiteral(";;")));
    // ".FITS" is a FITS file as much as ".fits".
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (request.fileName.contains(u'/'))
        dialog.setDirectory(preset.absolutePath());
    else if (!request.folder.isEmpty() && QDir(request.folder).exists())
        dialog.setDirectory(request.folder);
    else
        dialog.setDirectory(QDir::currentPath());
    if (request.kind == FileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.selectFile(preset.fileName());
        dialog.setDefaultSuffix(defaultSuffix(dialog.selectedNameFilter()));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& filter) { dialog.setDefaultSuffix(defaultSuffix(filter)); });
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool runQtPrintDialog(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

void showMessage(const QString& text, const QString& detail)
{
    if (messageHandler()) {
        if (messageDetailHandler())
            messageDetailHandler()(text, detail);
        messageHandler()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, programTitle(), text, QMessageBox::Ok, dialogParent());
    if (!detail.isEmpty())
        box.setDetailedText(detail);
    box.exec();
}

void showMessages(const Messages& messages)
{
    for (std::size_t i = 0; i < messages.size(); ++i) {
        // A converter's report holds file names: bytes as the file system gave them.
        showMessage(QString::fromStdString(messages[i]),
                    QFile::decodeName(QByteArray::fromStdString(messages.detailOf(i))));
    }
}

MessageDetailHandler setMessageDetailHandler(MessageDetailHandler handler)
{
    return std::exchange(messageDetailHandler(), std::move(handler));
}

MessageHandler setMessageHandler(MessageHandler handler)
{
    return std::exchange(messageHandler(), std::move(handler));
}

QString nameFiltersFromPairs(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        // "*.*" means every file in the dialogs' own convention.
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        QString description = parts[i];
        const qsizetype open = description.lastIndexOf(u'(');
        if (open > 0)
            description = description.left(open).trimmed();
        filters << description + QStringLiteral(" (") + pattern + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

QString defaultSuffix(const QString& nameFilter)
{
    const qsizetype open = nameFilter.lastIndexOf(u'(');
    const QString patterns =
        open >= 0 ? nameFilter.mid(open + 1).chopped(nameFilter.endsWith(u')') ? 1 : 0) : nameFilter;
    const QString first = patterns.section(u' ', 0, 0, QString::SectionSkipEmpty);
    if (!first.startsWith(QStringLiteral("*.")) || first.indexOf(u'*', 2) >= 0 || first.size() < 3)
        return {};
    return first.mid(2);
}

QString runFileDialog(QWidget* parent, const FileDialogRequest& request)
{
    if (fileDialogHandler())
        return fileDialogHandler()(request);
    return runQtFileDialog(parent, request);
}

FileDialogHandler setFileDialogHandler(FileDialogHandler handler)
{
    return std::exchange(fileDialogHandler(), std::move(handler));
}

bool runPrintDialog(QWidget* parent, QPrinter& printer)
{
    if (printDialogHandler())
        return printDialogHandler()(printer);
    return runQtPrintDialog(parent, printer);
}

PrintDialogHandler setPrintDialogHandler(PrintDialogHandler handler)
{
    return std::exchange(printDialogHandler(), std::move(handler));
}

double twipsPerPixel(const QWidget* widget)
{
    const double dpi = widget ? widget->logicalDpiX() : 96.0;
    return twipsPerPixelAtDpi(dpi);
}

double twipsFromPixels(double pixels, const QWidget* widget)
{
    return pixels * twipsPerPixel(widget);
}

int pixelsFromTwips(double twips, const QWidget* widget)
{
    return static_cast<int>(std::lround(twips / twipsPerPixel(widget)));
}

void centreOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

BusyCursor::BusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    QApplication::restoreOverrideCursor();
}

}  // namespace kestrova
