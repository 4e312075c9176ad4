// kestrova-batch against the windows themselves: the values files that the spectrum, profile and
// histogram windows save for a frame and its analysis settings equal, byte for byte, those that
// the batch writes for the same frame and settings file.

#include <QProcess>
#include <QTest>

#include "Messages.h"
#include "UiTestSupport.h"
#include "gFileRoI.h"
#include "gFormWindows.h"

using uitest::UiFixture;
namespace windows = kestrova::windows;

namespace {

constexpr int kWidth = 60;
constexpr int kHeight = 20;

QByteArray settingsFile(const QStringList& values)
{
    QByteArray text;
    for (const QString& v : values)
        text += ' ' + v.toLatin1() + '\r';
    return text;
}

// Saves the values of the window opened by `menuItem` through its `saveItem` as `path`.
bool saveValues(UiFixture& f, const char* menuItem, const char* windowName, const char* saveItem, const QString& path)
{
    if (!f.trigger(menuItem))
        return false;
    QWidget* window = f.child(windowName);
    QAction* save = window ? f.control<QAction>(window, saveItem) : nullptr;
    if (!save) {
        qWarning("%s did not open: %s", windowName, qPrintable(f.messages.join(u'|')));
        return false;
    }
    f.fileAnswers = QStringList{path};
    save->trigger();
    QCoreApplication::processEvents();
    return true;
}

}  // namespace

class BatchWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void valuesFilesEqualTheWindows();
};

void BatchWindowsTest::valuesFilesEqualTheWindows()
{
    UiFixture f;
    std::vector<int> pixels(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels[static_cast<std::size_t>(y * kWidth + x)] = 10 + (x > 20 && x < 40 ? 100 : 0) + y * y / 4 + x % 7;
    uitest::writePgm(f.dataFile("band.pgm"), kWidth, kHeight, 255, pixels);
    uitest::writeText(f.dataFile("SpecCal.txt"), "400, 5.25, -0.001\r\n");
    // The band over rows 10..16 less the background over rows 1..7, summed; lower threshold 30.
    const QString analysis = f.dataFile("band-Analysis.txt");
    uitest::writeText(analysis, settingsFile({"0", "1", "5", "10", "50", "16", "1", "5", "1", "50", "7", "1", "0", "1",
                                              "30", "0", "255"}));
    QVERIFY(f.openThroughMenu(f.dataFile("band.pgm")));
    kestrova::ProgramState& s = f.state();
    kestrova::Messages messages;  // what Analysis Settings, Open... reads into the records
    QVERIFY(kestrova::ReadAnalysisSettings(analysis.toStdString(), s.image, s.inversion, s.roi, s.dataThresholds,
                                           s.resultFlags, messages));

    QVERIFY(
        saveValues(f, "mnuAnalysisXAxisProjection", windows::kSpectrum, "mnuFileSaveAsValues", f.dataFile("w-X.csv")));
    QVERIFY(
        saveValues(f, "mnuAnalysisYAxisProjection", windows::kProfile, "mnuFileSaveAsValues", f.dataFile("w-Y.csv")));
    QVERIFY(saveValues(f, "mnuAnalysisIntensityDistribution", windows::kHistogram, "mnuFileValuesSaveAs",
                       f.dataFile("w-H.csv")));

    QProcess batch;
    batch.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kestrova-batch"),
                {QStringLiteral("--analysis"), analysis, QStringLiteral("--spectrum"), f.dataFile("b-X.csv"),
                 QStringLiteral("--profile"), f.dataFile("b-Y.csv"), QStringLiteral("--histogram"),
                 f.dataFile("b-H.csv"), f.dataFile("band.pgm")});
    QVERIFY(batch.waitForFinished(60000));
    QCOMPARE(batch.exitCode(), 0);
    for (const char* kind : {"X", "Y", "H"}) {
        const QByteArray window = uitest::readFile(f.dataFile(QStringLiteral("w-%1.csv").arg(kind)));
        QVERIFY2(!window.isEmpty(), kind);
        QCOMPARE(uitest::readFile(f.dataFile(QStringLiteral("b-%1.csv").arg(kind))), window);
    }
    QVERIFY(uitest::readFile(f.dataFile("w-X.csv")).startsWith("426.2"));  // wavelengths, from column 5
}

QTEST_MAIN(BatchWindowsTest)
#include "BatchWindowsTest.moc"
