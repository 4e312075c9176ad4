#include "gFormConverterWait.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFile>
#include <QProgressDialog>

#include "gFormServices.h"

namespace kestrova {

namespace {

constexpr qint64 kDialogDelayMilliseconds = 1000;

}  // namespace

QString convertingCaption(const std::string& fileName)
{
    return QStringLiteral("Converting ") + QFile::decodeName(QByteArray::fromStdString(fileName)) + QChar(0x2026);
}

ConverterWaitDialog::~ConverterWaitDialog()
{
    delete dialog_.data();
}

void ConverterWaitDialog::converterStarted(const std::string& fileName)
{
    fileName_ = convertingCaption(fileName);
    cancelled_ = false;
    elapsed_.start();
}

bool ConverterWaitDialog::keepWaiting()
{
    if (!dialog_ && elapsed_.elapsed() >= kDialogDelayMilliseconds)
        showDialog();
    // Before the dialog shows, the windows repaint but take no input: no second command can start
    // while this one waits. The dialog itself is modal.
    QCoreApplication::processEvents(dialog_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    if (dialog_ && dialog_->wasCanceled())
        cancelled_ = true;
    return !cancelled_;
}

void ConverterWaitDialog::converterEnded()
{
    if (dialog_) {
        QApplication::restoreOverrideCursor();
        delete dialog_.data();
    }
}

void ConverterWaitDialog::showDialog()
{
    auto* dialog = new QProgressDialog(fileName_, QStringLiteral("Cancel"), 0, 0, QApplication::activeWindow());
    dialog->setObjectName(QStringLiteral("frmConverterWait"));
    dialog->setWindowTitle(programTitle());
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(0);
    dialog_ = dialog;
    // The busy cursor would hide that Cancel can be clicked.
    QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    dialog->show();
}

}  // namespace kestrova
