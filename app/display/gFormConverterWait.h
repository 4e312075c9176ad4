#pragma once

// The window side of a converter run: the program keeps painting while the converter works, and
// after about a second the dialog "Converting <file name>…" (objectName "frmConverterWait")
// offers Cancel, which ends the converter.

#include <QElapsedTimer>
#include <QPointer>
#include <string>

#include "gFileConvert.h"

class QProgressDialog;

namespace kestrova {

class ConverterWaitDialog : public ConverterWaitObserver {
public:
    ConverterWaitDialog() = default;
    ConverterWaitDialog(const ConverterWaitDialog&) = delete;
    ConverterWaitDialog& operator=(const ConverterWaitDialog&) = delete;
    ~ConverterWaitDialog() override;

    void converterStarted(const std::string& fileName) override;
    bool keepWaiting() override;
    void converterEnded() override;

private:
    void showDialog();

    QElapsedTimer elapsed_;
    QString fileName_;
    QPointer<QProgressDialog> dialog_;
    bool cancelled_ = false;
};

// The caption of the dialog for a file name given as the file system's bytes.
QString convertingCaption(const std::string& fileName);

}  // namespace kestrova
