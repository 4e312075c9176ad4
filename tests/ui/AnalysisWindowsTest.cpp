// The spectrum, profile and centroid windows, the limits dialogs and the plot outputs.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "UiTestSupport.h"
#include "gDataLimits.h"
#include "gFileValues.h"
#include "gFormPictureBox.h"
#include "gFormProjection.h"
#include "gFormWindows.h"

using uitest::UiFixture;
namespace windows = kestrova::windows;

namespace {

constexpr int kWidth = 60;
constexpr int kHeight = 20;

// A 60 x 20 8-bit image with a bright band across its middle columns and rows, and a
// calibration of 400 + 5 x nm beside it.
void openBandImage(UiFixture& f)
{
    std::vector<int> pixels(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels[static_cast<std::size_t>(y * kWidth + x)] = 10 + (x > 20 && x < 40 ? 100 : 0) + y;
    uitest::writePgm(f.dataFile("band.pgm"), kWidth, kHeight, 255, pixels);
    uitest::writeText(f.dataFile("SpecCal.txt"), "400, 5\r\n");
    if (!f.openThroughMenu(f.dataFile("band.pgm")))
        throw std::runtime_error("the band image did not open");
}

QAction* item(UiFixture& f, QWidget* window, const char* name)
{
    QAction* action = f.control<QAction>(window, name);
    if (!action)
        throw std::runtime_error(std::string("no item ") + name);
    return action;
}

void trigger(UiFixture& f, QWidget* window, const char* name)
{
    item(f, window, name)->trigger();
    QCoreApplication::processEvents();
}

void click(UiFixture& f, QWidget* window, const char* name)
{
    f.control<QAbstractButton>(window, name)->click();
    QCoreApplication::processEvents();
}

QImage plot(UiFixture& f, QWidget* window)
{
    return f.control<kestrova::PictureBox>(window, "picAxes")->picture();
}

QString label(UiFixture& f, QWidget* window, const char* name)
{
    return f.control<QLabel>(window, name)->text();
}

// The read-out for the mouse over the middle of the plot box (column 30 or 31, both bright):
// the position label, which is one of `positions`, then the value.
QString readOutMiddle(UiFixture& f, QWidget* window, const QStringList& positions)
{
    kestrova::PictureBox* box = f.control<kestrova::PictureBox>(window, "picAxes");
    emit box->mouseMove(Qt::NoButton, box->innerSize().width() / 2.0, box->innerSize().height() / 2.0);
    const QString position = label(f, window, "lblvalX");
    return (positions.contains(position) ? QStringLiteral("ok") : position) + u'|' + label(f, window, "lblvalZ");
}

// Records the order in which the watched windows are shown.
class ShowOrder : public QObject {
public:
    QStringList shown;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow() &&
            watched->objectName().startsWith(QStringLiteral("frmAnalysis")))
            shown << watched->objectName();
        return false;
    }
};

// Runs the program on `arguments` with the test's folders; gives its exit code.
int runProgram(UiFixture& f, const QStringList& arguments)
{
    QProcess program;
    const QString programPath = f.prepareProgram(program);
    program.start(programPath, arguments);
    program.waitForFinished(120000);
    return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
}

}  // namespace

class AnalysisWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void flatRegionIsRefused();
    void meanSumAndUnitsSwitchThePlot();
    void limitsSetCloseCancel();
    void regionChangeReopensTheOpenWindowsInOrder();
    void printLeavesTheScreenGeometry();
    void displaySavedAsFitsIsEightBit();
    void valuesFileHoldsTheProjectionBytes();
    void commandLineShowsAndCapturesWindows();
};

void AnalysisWindowsTest::flatRegionIsRefused()
{
    UiFixture f;
    uitest::writePgm(f.dataFile("flat.pgm"), 8, 6, 255, std::vector<int>(48, 7));
    QVERIFY(f.openThroughMenu(f.dataFile("flat.pgm")));
    for (const char* command : {"mnuAnalysisXAxisProjection", "mnuAnalysisAreaProperties"}) {
        f.messages.clear();
        QVERIFY(f.trigger(command));
        QCOMPARE(f.messages, QStringList{QString::fromLatin1(kestrova::kAnalysisNotPerformed)});
    }
    QVERIFY(!f.child(windows::kSpectrum));
    QVERIFY(!f.child(windows::kCentroid));
    QVERIFY(!f.action("mnuAnalysisXAxisProjection")->isChecked());
}

void AnalysisWindowsTest::meanSumAndUnitsSwitchThePlot()
{
    UiFixture f;
    openBandImage(f);
    QVERIFY(f.trigger("mnuAnalysisXAxisProjection"));
    QWidget* spectrum = f.child(windows::kSpectrum);
    QVERIFY(spectrum);
    QVERIFY(f.action("mnuAnalysisXAxisProjection")->isChecked());
    trigger(f, spectrum, "mnuOptionsXScalePixel");
    const QImage meanPixels = plot(f, spectrum);
    QVERIFY(!meanPixels.isNull());
    QCOMPARE(label(f, spectrum, "lblZ"), QStringLiteral("Mean Intensity:"));
    QCOMPARE(readOutMiddle(f, spectrum, {"30", "31"}), QStringLiteral("ok|119.5"));

    trigger(f, spectrum, "mnuOptionsYScaleSum");
    QVERIFY(item(f, spectrum, "mnuOptionsYScaleSum")->isChecked());
    QCOMPARE(label(f, spectrum, "lblZ"), QStringLiteral("Sum Intensity:"));
    QVERIFY(plot(f, spectrum) != meanPixels);
    QCOMPARE(readOutMiddle(f, spectrum, {"30", "31"}), QStringLiteral("ok|2390.0"));
    QVERIFY(!f.state().projections.spectrumLimits.yScaleMean);
    QVERIFY(f.state().projections.profileLimits.yScaleMean);

    const QImage sumPixels = plot(f, spectrum);
    trigger(f, spectrum, "mnuOptionsXScaleWavelength");
    QVERIFY(f.state().calibration.WavelengthUnits);
    QCOMPARE(label(f, spectrum, "lblX"), QStringLiteral("Wavelength:"));
    QVERIFY(plot(f, spectrum) != sumPixels);
    QCOMPARE(readOutMiddle(f, spectrum, {"550.0", "555.0"}), QStringLiteral("ok|2390.0"));
    QVERIFY(f.messages.isEmpty());

    // The profile has no units menu and captions without a colon.
    QVERIFY(f.trigger("mnuAnalysisYAxisProjection"));
    QWidget* profile = f.child(windows::kProfile);
    QVERIFY(profile && !f.control<QAction>(profile, "mnuOptionsXScalePixel"));
    QCOMPARE(label(f, profile, "lblZ"), QStringLiteral("Mean Intensity"));
}

void AnalysisWindowsTest::limitsSetCloseCancel()
{
    UiFixture f;
    openBandImage(f);
    QVERIFY(f.trigger("mnuAnalysisXAxisProjection"));
    QPointer<QWidget> spectrum = f.child(windows::kSpectrum);
    const kestrova::ProjectionLimits before = f.state().projections.spectrumLimits;
    trigger(f, spectrum, "mnuOptionsYScaleLimits");
    QWidget* dialog = f.child(windows::kSpectrumLimits);
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("X Projection Limits"));
    QCOMPARE(f.control<QLabel>(dialog, "lblMiniimumValue")->text(), QStringLiteral("19.5"));

    // Set: a Manual lower limit is applied and the spectrum drawn again; the dialog stays.
    f.control<QRadioButton>(dialog, "optLoLimitOn")->click();
    f.control<QLineEdit>(dialog, "txtLoLimitValue")->setText(QStringLiteral("50"));
    click(f, dialog, "cmdApply");
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.state().projections.spectrumLimits.meanLo, 50.0);
    QCOMPARE(f.state().projections.spectrumLimits.plotLo, 50.0);
    QVERIFY(!spectrum);
    QVERIFY(f.child(windows::kSpectrum) && f.child(windows::kSpectrumLimits) == dialog);
    QVERIFY(item(f, f.child(windows::kSpectrum), "mnuOptionsYScaleLimits")->isChecked());

    // A refused Set changes nothing; Cancel puts back the limits found at load.
    f.control<QLineEdit>(dialog, "txtLoLimitValue")->setText(QStringLiteral("500"));
    click(f, dialog, "cmdApply");
    QCOMPARE(f.messages, QStringList{QString::fromLatin1(kestrova::kLimitsNotIncreasing)});
    QCOMPARE(f.state().projections.spectrumLimits.meanLo, 50.0);
    click(f, dialog, "cmdCancel");
    QVERIFY(!f.child(windows::kSpectrumLimits));
    QCOMPARE(f.state().projections.spectrumLimits.meanLo, before.meanLo);
    QVERIFY(!f.state().projections.spectrumLimits.lowerManual);
    QCOMPARE(f.state().projections.spectrumLimits.plotLo, before.plotLo);
    QVERIFY(!item(f, f.child(windows::kSpectrum), "mnuOptionsYScaleLimits")->isChecked());

    // Close applies and keeps the new limits.
    trigger(f, f.child(windows::kSpectrum), "mnuOptionsYScaleLimits");
    dialog = f.child(windows::kSpectrumLimits);
    f.control<QRadioButton>(dialog, "optHiLimitOn")->click();
    f.control<QLineEdit>(dialog, "txtHiLimitValue")->setText(QStringLiteral("100"));
    click(f, dialog, "cmdClose");
    QVERIFY(!f.child(windows::kSpectrumLimits));
    QCOMPARE(f.state().projections.spectrumLimits.plotHi, 100.0);

    // Sum while the dialog is open: the dialog shows the Sum pair, the Manual flags carry over.
    trigger(f, f.child(windows::kSpectrum), "mnuOptionsYScaleLimits");
    trigger(f, f.child(windows::kSpectrum), "mnuOptionsYScaleSum");
    dialog = f.child(windows::kSpectrumLimits);
    QVERIFY(dialog);
    QCOMPARE(f.control<QLabel>(dialog, "lblMiniimumValue")->text(), QStringLiteral("390.0"));
    QVERIFY(f.control<QRadioButton>(dialog, "optHiLimitOn")->isChecked());

    // File Close closes the dialog too.
    QVERIFY(f.trigger("mnuFileClose"));
    QVERIFY(!f.child(windows::kSpectrumLimits));
    QVERIFY(!f.child(windows::kSpectrum));
}

void AnalysisWindowsTest::regionChangeReopensTheOpenWindowsInOrder()
{
    UiFixture f;
    openBandImage(f);
    for (const char* command :
         {"mnuAnalysisAreaProperties", "mnuAnalysisYAxisProjection", "mnuAnalysisXAxisProjection"})
        QVERIFY(f.trigger(command));
    trigger(f, f.child(windows::kSpectrum), "mnuOptionsYScaleLimits");
    QWidget* dialog = f.child(windows::kSpectrumLimits);
    f.control<QRadioButton>(dialog, "optLoLimitOn")->click();
    f.control<QLineEdit>(dialog, "txtLoLimitValue")->setText(QStringLiteral("50"));
    click(f, dialog, "cmdApply");

    ShowOrder order;
    qApp->installEventFilter(&order);
    kestrova::RoIRecord& roi = f.state().roi;
    roi.RoI1On = true;
    roi.RoI1 = {21, 1, 40, 10};
    f.window().refresh(kestrova::Change::Regions);
    qApp->removeEventFilter(&order);
    QCOMPARE(order.shown,
             (QStringList{windows::kSpectrumLimits, windows::kSpectrum, windows::kProfile, windows::kCentroid}));
    QCOMPARE(f.state().projections.column.count(), 20);
    QCOMPARE(label(f, f.child(windows::kCentroid), "lblvalArea"), QStringLiteral("200"));

    // The recomputed projection's Auto limits are the reopened dialog's baseline.
    dialog = f.child(windows::kSpectrumLimits);
    QVERIFY(dialog && !f.state().projections.spectrumLimits.lowerManual);
    click(f, dialog, "cmdCancel");
    QVERIFY(!f.state().projections.spectrumLimits.lowerManual);
    QCOMPARE(f.state().projections.spectrumLimits.meanLo, f.state().projections.column.meanMin);
}

void AnalysisWindowsTest::printLeavesTheScreenGeometry()
{
    UiFixture f;
    openBandImage(f);
    QVERIFY(f.trigger("mnuAnalysisXAxisProjection"));
    auto* spectrum = qobject_cast<kestrova::ProjectionWindow*>(f.child(windows::kSpectrum));
    QVERIFY(spectrum);
    const kestrova::PlotGeometry onScreen = spectrum->scale().geometry;
    const QString path = f.folder() + QStringLiteral("/spectrum.pdf");
    f.printAnswer = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    };
    trigger(f, spectrum, "mnuFilePrint");
    QVERIFY(f.messages.isEmpty());
    QVERIFY(uitest::readFile(path).startsWith("%PDF"));
    const kestrova::PlotGeometry after = spectrum->scale().geometry;
    QCOMPARE(after.plotLeft, onScreen.plotLeft);
    QCOMPARE(after.plotW, onScreen.plotW);
    QCOMPARE(after.half, onScreen.half);
}

void AnalysisWindowsTest::displaySavedAsFitsIsEightBit()
{
    UiFixture f;
    openBandImage(f);
    QVERIFY(f.trigger("mnuAnalysisYAxisProjection"));
    QWidget* profile = f.child(windows::kProfile);
    const QString path = f.dataFile("profile.fits");
    f.fileAnswers = QStringList{path};
    trigger(f, profile, "mnuFileSaveAsDisplay");
    QVERIFY2(f.messages.isEmpty(), qPrintable(f.messages.join(u'\n')));
    QCOMPARE(f.fileRequests.last().fileName, f.dataFile("band-YAxisProjection"));
    const QByteArray fits = uitest::readFile(path);
    QVERIFY(fits.startsWith("SIMPLE  ="));
    const qsizetype bitpix = fits.indexOf("BITPIX  =");
    QVERIFY(bitpix > 0);
    QCOMPARE(fits.mid(bitpix + 9, 21).trimmed(), QByteArray("8"));
}

void AnalysisWindowsTest::valuesFileHoldsTheProjectionBytes()
{
    UiFixture f;
    openBandImage(f);
    QVERIFY(f.trigger("mnuAnalysisXAxisProjection"));
    QWidget* spectrum = f.child(windows::kSpectrum);
    trigger(f, spectrum, "mnuOptionsXScaleWavelength");
    trigger(f, spectrum, "mnuOptionsYScaleSum");
    const QString path = f.dataFile("spectrum.CSV");
    const QString refused = f.dataFile("spectrum");
    f.fileAnswers = QStringList{refused, QString(), path};
    for (int i = 0; i < 3; ++i)
        trigger(f, spectrum, "mnuFileSaveAsValues");
    QCOMPARE(f.fileRequests.size(), 4);  // the open dialog, then three saves
    QCOMPARE(f.fileRequests.last().fileName, f.dataFile("band-XAxisProjection"));
    QVERIFY(!QFileInfo::exists(refused));
    const std::string expected =
        kestrova::ProjectionValuesText(f.state().projections.column, false, &f.state().calibration.wavelengths);
    QCOMPARE(uitest::readFile(path), QByteArray::fromStdString(expected));
    QVERIFY(uitest::readFile(path).startsWith("405,"));
}

void AnalysisWindowsTest::commandLineShowsAndCapturesWindows()
{
    UiFixture f;
    openBandImage(f);
    const QString shot = f.folder() + QStringLiteral("/s.png");
    QCOMPARE(runProgram(f, {f.dataFile("band.pgm"), QStringLiteral("--show"), QStringLiteral("spectrum,centroid"),
                            QStringLiteral("--screenshot=") + shot}),
             0);
    for (const char* name : {"/s.png", "/s-spectrum.png", "/s-centroid.png"})
        QVERIFY2(!QImage(f.folder() + QString::fromLatin1(name)).isNull(), name);
    QVERIFY(!QFileInfo::exists(f.folder() + QStringLiteral("/s-profile.png")));
    QCOMPARE(runProgram(f, {f.dataFile("band.pgm"), QStringLiteral("--show"), QStringLiteral("spectra")}), 1);
}

QTEST_MAIN(AnalysisWindowsTest)
#include "AnalysisWindowsTest.moc"
