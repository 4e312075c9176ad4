// Temporary files and converter runs seen from the window: the dialog that offers to cancel a
// converter that takes long, the converter's own report as the failure message's detail, and the
// program's private work folder, gone when a signal ends the program.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "TestSupport.h"
#include "UiTestSupport.h"
#include "gFormConverterWait.h"

class TemporaryFilesTest : public QObject {
    Q_OBJECT

private slots:
    void cancelEndsTheConverterAndKeepsTheImage();
    void failureDetailIsTheConvertersReport();
    void privateFolderGoesWithTheProgramOnSigterm();
};

void TemporaryFilesTest::cancelEndsTheConverterAndKeepsTheImage()
{
    uitest::UiFixture f;
    kestrova::ConverterWaitDialog wait;
    kestrova::setConverterWaitObserver(&wait);
    uitest::writePgm(f.dataFile("first.pgm"), 3, 2, 255, {1, 2, 3, 4, 5, 6});
    QVERIFY(f.openThroughMenu(f.dataFile("first.pgm")));
    const std::vector<std::int32_t> firstPixels = f.state().image.intPixels;

    // A converter that never ends.
    const QString stubs = f.folder() + QStringLiteral("/stubs");
    const QString pidFile = f.folder() + QStringLiteral("/pid");
    QDir().mkpath(stubs);
    uitest::writeText(stubs + QStringLiteral("/pgm2ksv"),
                      "#!/bin/sh\necho $$ > '" + QFile::encodeName(pidFile) + "'\nsleep 1000\n");
    QFile::setPermissions(stubs + QStringLiteral("/pgm2ksv"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    f.state().converterFolder = QFile::encodeName(stubs).toStdString();
    uitest::writePgm(f.dataFile("second.pgm"), 2, 2, 255, {7, 8, 9, 10});

    QString caption;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(widget);
            if (!dialog || dialog->objectName() != QStringLiteral("frmConverterWait") || !dialog->isVisible())
                continue;
            caption = dialog->labelText();
            if (auto* cancel = dialog->findChild<QPushButton*>())
                cancel->click();
        }
    });
    poll.start(50);
    QVERIFY(!f.window().OpenImageFile(f.dataFile("second.pgm")));
    poll.stop();
    kestrova::setConverterWaitObserver(nullptr);

    QCOMPARE(caption, QStringLiteral("Converting second.pgm") + QChar(0x2026));
    QCOMPARE(f.messages, QStringList{QStringLiteral("Error - when reading image from input file")});
    QCOMPARE(f.state().image.intPixels, firstPixels);
    QCOMPARE(f.state().image.imageBaseName, std::string("first"));
    const pid_t group = static_cast<pid_t>(uitest::readFile(pidFile).trimmed().toLong());
    QVERIFY(group > 0);
    QVERIFY(testsupport::processGroupEnds(group));  // no process left behind
}

void TemporaryFilesTest::failureDetailIsTheConvertersReport()
{
    uitest::UiFixture f;
    QStringList details;
    const auto previous =
        kestrova::setMessageDetailHandler([&details](const QString&, const QString& detail) { details << detail; });
    uitest::writeText(f.dataFile("notes.fits"), "plain text, no FITS header");
    QVERIFY(!f.window().OpenImageFile(f.dataFile("notes.fits")));
    kestrova::setMessageDetailHandler(previous);
    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(details.size(), 1);
    QVERIFY2(details[0].contains(f.messages[0]), qPrintable(details[0]));
    QVERIFY2(details[0].size() > f.messages[0].size(), qPrintable(details[0]));  // the library's words first
}

void TemporaryFilesTest::privateFolderGoesWithTheProgramOnSigterm()
{
    uitest::UiFixture f;
    QProcess program;
    const QString programPath = f.prepareProgram(program);
    program.start(programPath, {});
    QVERIFY(program.waitForStarted());
    const QDir work(f.workFolder());
    QTRY_VERIFY_WITH_TIMEOUT(!work.entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty(), 60000);
    const QFileInfo folder(work.filePath(work.entryList(QDir::Dirs | QDir::NoDotAndDotDot).constFirst()));
    QVERIFY(folder.fileName().startsWith(QStringLiteral("kestrova-")));
    QCOMPARE(folder.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::ExeOther), QFile::Permissions());
    QCOMPARE(::kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY(work.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

QTEST_MAIN(TemporaryFilesTest)
#include "TemporaryFilesTest.moc"
