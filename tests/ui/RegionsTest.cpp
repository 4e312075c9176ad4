// The regions of interest on the main picture (drag, click, reset, at two zooms), the
// coordinates dialog, the Data Thresholds dialog, Invert Intensity, the display and analysis
// settings files through the menus, and file names that are no UTF-8 on the command line.

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"
#include "UiTestSupport.h"
#include "gFormPictureBox.h"

using uitest::UiFixture;

namespace {

constexpr int kSide = 64;  // a 64 x 64 image: 16 screen pixels an image pixel at 100 %

void openImage(UiFixture& f)
{
    std::vector<int> pixels(kSide * kSide);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<int>(i % 251);
    uitest::writePgm(f.dataFile("img.pgm"), kSide, kSide, 255, pixels);
    if (!f.openThroughMenu(f.dataFile("img.pgm")))
        throw std::runtime_error("the image did not open");
}

// A mouse event over picBox2 at the centre of an image pixel (column, row from the bottom).
void mouse(UiFixture& f, QEvent::Type type, Qt::MouseButton button, int column, int row)
{
    kestrova::PictureBox* box = f.box("picBox2");
    const QPointF at = box->fromUser({column + 0.5, kSide + 1.5 - row});
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, box->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(box, &event);
}

void drag(UiFixture& f, int fromColumn, int fromRow, int toColumn, int toRow)
{
    mouse(f, QEvent::MouseButtonPress, Qt::LeftButton, fromColumn, fromRow);
    mouse(f, QEvent::MouseMove, Qt::LeftButton, toColumn, toRow);
    mouse(f, QEvent::MouseButtonRelease, Qt::LeftButton, toColumn, toRow);
}

void click(UiFixture& f, int column, int row)
{
    mouse(f, QEvent::MouseButtonPress, Qt::LeftButton, column, row);
    mouse(f, QEvent::MouseButtonRelease, Qt::LeftButton, column, row);
}

QWidget* outline(UiFixture& f, int region)
{
    return f.widget<QWidget>(region == 1 ? "shpRoI1Rectangle" : "shpRoI2Rectangle");
}

kestrova::RoIRect rect(int blx, int bly, int trx, int try_)
{
    return {blx, bly, trx, try_};
}

void typeInto(QWidget* dialog, const char* name, const QString& text)
{
    auto* box = dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    QVERIFY(box);
    box->setText(text);
}

void press(QWidget* dialog, const char* name)
{
    auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name));
    QVERIFY(button);
    button->click();
    QCoreApplication::processEvents();
}

}  // namespace

class RegionsTest : public QObject {
    Q_OBJECT

private slots:
    void dragSetsRegionOneAtEveryZoom_data();
    void dragSetsRegionOneAtEveryZoom();
    void clickPlacesRegionTwoAndASinglePixelResetsBoth();
    void coordinatesDialogSetRefuseAndCancel();
    void mouseChangeReopensTheOpenDialog();
    void dataThresholdsDialogAndInvertIntensity();
    void settingsFilesRoundTripThroughTheMenus();
    void commandLineTakesNamesThatAreNoUtf8();
};

void RegionsTest::dragSetsRegionOneAtEveryZoom_data()
{
    QTest::addColumn<QString>("zoom");
    QTest::addColumn<int>("screenPixels");  // a side of one image pixel on the screen
    QTest::newRow("100 %") << "100" << 16;
    QTest::newRow("300 %") << "300" << 48;
}

void RegionsTest::dragSetsRegionOneAtEveryZoom()
{
    QFETCH(QString, zoom);
    QFETCH(int, screenPixels);
    UiFixture f;
    openImage(f);
    QVERIFY(f.window().applyCustomZoom(zoom.toStdString()));
    // Dragged up and to the left: the corners are ordered.
    drag(f, 30, 20, 10, 45);
    const kestrova::RoIRecord& roi = f.state().roi;
    QVERIFY(roi.RoI1On);
    QCOMPARE(roi.RoI1, rect(10, 20, 30, 45));
    QCOMPARE(roi.RoI1Shown, roi.RoI1);
    QVERIFY(roi.RoI2Placement);
    QCOMPARE(roi.RegionWidth, 21);
    QCOMPARE(roi.RegionHeight, 26);
    // The outline covers both corner pixels.
    QVERIFY(outline(f, 1)->isVisible());
    QCOMPARE(outline(f, 1)->size(), QSize(21 * screenPixels, 26 * screenPixels));
    QVERIFY(!outline(f, 2)->isVisible());
}

void RegionsTest::clickPlacesRegionTwoAndASinglePixelResetsBoth()
{
    UiFixture f;
    openImage(f);
    drag(f, 10, 20, 30, 30);
    click(f, 12, 50);
    const kestrova::RoIRecord& roi = f.state().roi;
    QVERIFY(roi.RoI2On);
    QCOMPARE(roi.RoI2, rect(10, 40, 30, 50));
    QVERIFY(!roi.RoI2Placement);
    QVERIFY(outline(f, 2)->isVisible());

    // Once region 2 is placed, a click starts region 1 again: a single pixel resets both.
    click(f, 5, 5);
    QVERIFY(!roi.RoI1On);
    QVERIFY(!roi.RoI2On);
    QCOMPARE(roi.RoI1, rect(1, 1, kSide, kSide));
    QCOMPARE(roi.RoI2, rect(1, 1, kSide, kSide));
    QVERIFY(!outline(f, 1)->isVisible());
    QVERIFY(!outline(f, 2)->isVisible());
}

void RegionsTest::coordinatesDialogSetRefuseAndCancel()
{
    UiFixture f;
    openImage(f);
    drag(f, 10, 20, 30, 30);
    const kestrova::RoIRecord before = f.state().roi;
    QVERIFY(f.trigger("mnuAnalysisRegionsofInterestAsAbsoluteValues"));
    QWidget* dialog = f.child("frmAnalysisRegionsofInterestValuesfrm");
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Regions of Interest - Coordinates"));
    QVERIFY(f.action("mnuAnalysisRegionsofInterestAsAbsoluteValues")->isChecked());
    QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("txtRoI1TRvalmaxY"))->text(), QStringLiteral("30"));

    typeInto(dialog, "txtRoI1BLvalminX", QStringLiteral("abc"));
    press(dialog, "cmdApply");
    QCOMPARE(f.messages, QStringList{QStringLiteral("Region of Interest 1 - Bottom Left X is not numeric")});
    QVERIFY(f.child("frmAnalysisRegionsofInterestValuesfrm"));

    typeInto(dialog, "txtRoI1BLvalminX", QStringLiteral("5"));
    typeInto(dialog, "txtRoI1BLvalminY", QStringLiteral("6.5"));
    typeInto(dialog, "txtRoI1TRvalmaxX", QStringLiteral("20"));
    typeInto(dialog, "txtRoI1TRvalmaxY", QStringLiteral("25"));
    press(dialog, "optRoISum");
    press(dialog, "cmdApply");
    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(f.state().roi.RoI1, rect(5, 6, 20, 25));
    QVERIFY(!f.state().roi.Mean);
    QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("txtRoI1BLvalminY"))->text(), QStringLiteral("6"));
    QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("lblRoI2TRvalmaxX"))->text(), QStringLiteral("20"));
    QCOMPARE(outline(f, 1)->size(), QSize(16 * 16, 20 * 16));

    // Cancel puts back what the dialog started from, also what Set confirmed.
    press(dialog, "cmdCancel");
    QVERIFY(!f.child("frmAnalysisRegionsofInterestValuesfrm"));
    QVERIFY(!f.action("mnuAnalysisRegionsofInterestAsAbsoluteValues")->isChecked());
    QCOMPARE(f.state().roi.RoI1, before.RoI1);
    QVERIFY(f.state().roi.Mean);
    QCOMPARE(outline(f, 1)->size(), QSize(21 * 16, 11 * 16));
}

void RegionsTest::mouseChangeReopensTheOpenDialog()
{
    UiFixture f;
    openImage(f);
    QVERIFY(f.trigger("mnuAnalysisRegionsofInterestAsAbsoluteValues"));
    drag(f, 10, 20, 30, 30);
    QWidget* dialog = f.child("frmAnalysisRegionsofInterestValuesfrm");
    QVERIFY(dialog);
    QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("txtRoI1BLvalminY"))->text(), QStringLiteral("20"));
    QVERIFY(dialog->findChild<QRadioButton*>(QStringLiteral("optRoI1On"))->isChecked());
    // Its Cancel goes back to the regions it was reopened on, not to those before the drag.
    press(dialog, "cmdCancel");
    QCOMPARE(f.state().roi.RoI1, rect(10, 20, 30, 30));
    QVERIFY(f.state().roi.RoI1On);
}

void RegionsTest::dataThresholdsDialogAndInvertIntensity()
{
    UiFixture f;
    openImage(f);
    QVERIFY(f.trigger("mnuAnalysisInvertIntensity"));
    QVERIFY(f.state().inversion.invertIntensity);
    QVERIFY(f.action("mnuAnalysisInvertIntensity")->isChecked());

    QVERIFY(f.trigger("mnuAnalysisDataThresholdsAsAbsoluteValues"));
    QWidget* dialog = f.child("frmAnalysisDataThresholdsAsAbsoluteValuesfrm");
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Data Thresholds"));
    typeInto(dialog, "txtLoThresholdValue", QStringLiteral("x"));
    press(dialog, "cmdApply");
    QCOMPARE(f.messages, QStringList{QStringLiteral("Error - Lower Threshold Value is not numeric")});

    typeInto(dialog, "txtLoThresholdValue", QStringLiteral("10"));
    press(dialog, "optLoThresholdOn");
    press(dialog, "cmdApply");
    QCOMPARE(f.messages.size(), 1);
    QVERIFY(f.state().dataThresholds.lower.on);
    QCOMPARE(f.state().dataThresholds.lower.intValue, 10);

    // Results computed with the thresholds of Set go when Cancel discards them.
    f.state().resultFlags.spectrumComputed = true;
    f.state().resultFlags.centroidXComputed = true;
    press(dialog, "cmdCancel");
    QVERIFY(!f.state().dataThresholds.lower.on);
    QVERIFY(!f.state().resultFlags.spectrumComputed);
    QVERIFY(!f.state().resultFlags.centroidXComputed);
}

void RegionsTest::settingsFilesRoundTripThroughTheMenus()
{
    UiFixture f;
    openImage(f);
    const QString display = f.dataFile("view.txt");
    const QString analysis = f.dataFile("bands.txt");

    // Cancelled save dialogs write nothing.
    f.fileRequests.clear();
    QVERIFY(f.trigger("mnuImageDisplaySettingsSaveAs"));
    QVERIFY(f.trigger("mnuAnalysisAnalysisSettingsSaveAs"));
    QCOMPARE(QDir(f.dataFolder()).entryList(QDir::Files), QStringList{QStringLiteral("img.pgm")});
    QCOMPARE(f.fileRequests.at(0).fileName, f.dataFile("img-Display.txt"));
    QCOMPARE(f.fileRequests.at(0).filter, QStringLiteral("Display Settings Files (*.txt)|*.txt"));
    QCOMPARE(f.fileRequests.at(1).fileName, f.dataFile("img-Analysis.txt"));

    QVERIFY(f.trigger("mnuImageZoom200"));
    QVERIFY(f.trigger("mnuImageInvertDisplay"));
    drag(f, 10, 20, 30, 30);
    click(f, 12, 50);
    QVERIFY(f.trigger("mnuAnalysisInvertIntensity"));
    const kestrova::RoIRecord saved = f.state().roi;
    f.fileAnswers = QStringList{display, analysis};
    QVERIFY(f.trigger("mnuImageDisplaySettingsSaveAs"));
    QVERIFY(f.trigger("mnuAnalysisAnalysisSettingsSaveAs"));

    QVERIFY(f.trigger("mnuImageZoom50"));
    QVERIFY(f.trigger("mnuImageInvertDisplay"));
    QVERIFY(f.trigger("mnuAnalysisInvertIntensity"));
    click(f, 5, 5);
    f.fileAnswers = QStringList{display, analysis};
    QVERIFY(f.trigger("mnuImageDisplaySettingsOpen"));
    QVERIFY(f.trigger("mnuAnalysisAnalysisSettingsOpen"));
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.fileRequests.last().filter, QStringLiteral("Analysis Settings Files (*.txt)|*.txt|All files (*.*)|*.*"));

    QCOMPARE(f.state().zoom.zoomText, std::string("200"));
    QVERIFY(f.action("mnuImageZoom200")->isChecked());
    QVERIFY(f.action("mnuImageInvertDisplay")->isChecked());
    QVERIFY(f.action("mnuAnalysisInvertIntensity")->isChecked());
    QCOMPARE(f.state().roi.RoI1, saved.RoI1);
    QCOMPARE(f.state().roi.RoI2, saved.RoI2);
    QVERIFY(outline(f, 1)->isVisible());
    QVERIFY(outline(f, 2)->isVisible());
    QCOMPARE(outline(f, 1)->size(), QSize(21 * 32, 11 * 32));
}

void RegionsTest::commandLineTakesNamesThatAreNoUtf8()
{
    const QTemporaryDir temporary;
    const std::string folder = QFile::encodeName(temporary.path()).toStdString();
    const auto file = [&folder](const std::string& name) { return folder + '/' + name; };
    const std::string image = file("caf\xE9.pgm");
    std::string pgm = "P5\n4 3\n255\n";
    for (int i = 0; i < 12; ++i)
        pgm.push_back(static_cast<char>(i * 20));
    testsupport::writeText(image, pgm);
    const std::string analysis = file("r\xE9gions.txt");
    testsupport::writeText(analysis, " 0\r 1\r 1\r 1\r 3\r 2\r 0\r 1\r 1\r 3\r 2\r 1\r 1\r 0\r 0\r 0\r 220\r");
    const std::string display = file("vue\xE9.txt");
    testsupport::writeText(display, " 100\r 1\r 0\r 0\r 0\r 0\r 0\r 220\r");
    testsupport::writeText(file("refused.txt"), " 0\r 1\r 1\r 1\r 9\r 2\r");

    const std::map<std::string, std::string> environment{
        {"TMP", folder}, {"AppData", folder}, {"QT_QPA_PLATFORM", "offscreen"}};
    const std::string program = testsupport::program("Kestrova");
    const testsupport::RunResult opened = testsupport::run(
        {program, image, "--display-settings", display, "--analysis-settings", analysis, "--quit-when-shown"},
        environment);
    QCOMPARE(opened.exitCode, 0);
    QVERIFY2(opened.standardError.find("Error") == std::string::npos, opened.standardError.c_str());

    const testsupport::RunResult refused = testsupport::run(
        {program, image, "--analysis-settings=" + file("refused.txt"), "--quit-when-shown"}, environment);
    QCOMPARE(refused.exitCode, 0);
    QVERIFY(refused.standardError.find("Error - wwhen reading analysis settings file") != std::string::npos);
}

QTEST_MAIN(RegionsTest)
#include "RegionsTest.moc"
