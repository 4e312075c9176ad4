// The main window: start-up, menu enabling, File Open through the dialog, the read-out, the
// display bitmap, File Close and reopen, saving, inversion and the layout.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <memory>

#include "UiTestSupport.h"
#include "gFormPictureBox.h"

using uitest::UiFixture;

namespace {

// A 4 x 3 byte image, bottom row first, and its calibration 400 + 0.5 x.
const std::vector<int> kSmall{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 250};

void writeSmallImage(UiFixture& f, bool withCalibration)
{
    uitest::writePgm(f.dataFile("small.pgm"), 4, 3, 255, kSmall);
    if (withCalibration)
        uitest::writeText(f.dataFile("SpecCal.txt"), "400, 0.5\r\n");
}

void writeInitialValues(UiFixture& f, const QByteArray& text)
{
    QDir().mkpath(f.settingsFolder());
    uitest::writeText(f.settingsFolder() + QStringLiteral("/InitialValues.txt"), text);
}

// Sends a mouse move to a point of picBox2's inner area, in screen pixels from its top left.
void moveMouseToPixel(UiFixture& f, QPointF inner)
{
    kestrova::PictureBox* box = f.box("picBox2");
    const QPointF at = inner + QPointF(box->contentsRect().topLeft());
    QMouseEvent move(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
}

QStringList readOutLabels(UiFixture& f)
{
    return {f.text("lblvalX"), f.text("lblvalY"), f.text("lblvalW"), f.text("lblvalI"), f.text("lblvalG")};
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsTheLogoWithImageMenusDisabled();
    void everyMenuItemCarriesItsNameAndCaption();
    void settingsFolderThatCannotBeCreatedIsReportedAndStartUpGoesOn();
    void mouseOverTheLogoChangesNoLabel();
    void cancelledOpenDialogChangesNothing();
    void failedOpenKeepsTheStartUpState();
    void fileOpenEnablesMenusAndShowsTheCaption();
    void readOut_data();
    void readOut();
    void readOutWithoutCalibrationShowsNoCal();
    void picBmpHoldsTheDisplayMappingOfAnIntegerImage();
    void picBmpHoldsTheDisplayMappingOfAFloatImage();
    void unwritableWorkFolderStillShowsTheImage();
    void invertDisplayInvertsThePictureButNotTheReadOut();
    void fileCloseEmptiesTheWindowAndReopenWorks();
    void saveAsImageRenamesTheImage();
    void saveAsDisplayWritesTheShownPicture();
    void thresholdDialogsRefuseAFlatImage();
    void smallPictureShrinksTheViewportAndHidesTheScrollBars();
    void scrollBarsMoveTheLargePicture();
    void tooSmallWindowIsNotLaidOut();
    void standardShortcuts();
    void commandLineFileOpensAtStartUp();
};

void MainWindowTest::startUpShowsTheLogoWithImageMenusDisabled()
{
    UiFixture f;
    QCOMPARE(f.window().windowTitle(), QStringLiteral("Kestrova 1.0.0"));
    QVERIFY(f.window().windowState() == kestrova::MainWindowState::Startup);
    QVERIFY(f.window().windowState() != kestrova::MainWindowState::Closed);
    for (const char* name : {"mnuFileSave", "mnuFilePrint", "mnuFileClose", "mnuImage", "mnuAnalysis"})
        QVERIFY2(!f.isEnabled(name), name);
    for (const char* name :
         {"mnuFile", "mnuFileOpen", "mnuFileInitialDisplayThresholds", "mnuFileExit", "mnuHelp", "mnuHelpAbout"})
        QVERIFY2(f.isEnabled(name), name);
    QCOMPARE(f.text("lblFN"), QString());
    QCOMPARE(readOutLabels(f), QStringList(5));
    QVERIFY(f.messages.isEmpty());

    // The settings file is created with the defaults, one value a line ended by CR.
    QCOMPARE(uitest::readFile(f.settingsFolder() + QStringLiteral("/InitialValues.txt")),
             QByteArray(" 1\r 0.02\r 1\r 0.02\r"));

    // The logo is drawn over the whole viewport, which keeps the logo's proportions.
    QVERIFY(!f.box("picBox3")->picture().isNull());
    QVERIFY(!f.box("picBox3")->isVisible());
    QVERIFY(!f.box("picBox2")->picture().isNull());
    const QSize viewport = f.box("picBox1")->size();
    QVERIFY(std::abs(viewport.width() * 794.0 / 986.0 - viewport.height()) <= 2.0);
    QCOMPARE(f.box("picBox2")->size(), f.box("picBox1")->contentsRect().size());
    QVERIFY(!f.widget<QScrollBar>("hsbBox1")->isVisible());
    QVERIFY(!f.widget<QScrollBar>("vsbBox1")->isVisible());
}

void MainWindowTest::everyMenuItemCarriesItsNameAndCaption()
{
    UiFixture f;
    const QList<QPair<const char*, const char*>> items{
        {"mnuFile", "&File"},
        {"mnuFileOpen", "&Open..."},
        {"mnuFileSave", "&Save As"},
        {"mnuFileSaveAsImage", "&Image..."},
        {"mnuFileSaveAsDisplay", "&Display..."},
        {"mnuFilePrint", "&Print..."},
        {"mnuFileInitialDisplayThresholds", "Set &Initial Display Thresholds..."},
        {"mnuFileClose", "&Close"},
        {"mnuFileExit", "&Exit"},
        {"mnuImage", "&Image"},
        {"mnuImageInformation", "&Information..."},
        {"mnuImageZoom", "&Zoom"},
        {"mnuImageZoomZoomIn", "Zoom &In"},
        {"mnuImageZoomZoomOut", "Zoom &Out"},
        {"mnuImageZoomFitToHeight", "Fit to &Height"},
        {"mnuImageZoomFitToWidth", "Fit to &Width"},
        {"mnuImageZoom25", "&25%"},
        {"mnuImageZoom50", "&50%"},
        {"mnuImageZoom75", "&75%"},
        {"mnuImageZoom100", "&100%"},
        {"mnuImageZoom200", "2&00%"},
        {"mnuImageZoomCustom", "&Custom..."},
        {"mnuImageInvertDisplay", "In&vert Display"},
        {"mnuImageDisplayThresholds", "&Set Display Thresholds"},
        {"mnuImageDisplayThresholdsAsPerCentValues", "As % &Values..."},
        {"mnuImageDisplayThresholdsAsAbsoluteValues", "As &Absolute Values..."},
        {"mnuImageDisplaySettings", "Display &Settings"},
        {"mnuImageDisplaySettingsOpen", "&Open..."},
        {"mnuImageDisplaySettingsSaveAs", "&Save As..."},
        {"mnuAnalysis", "&Analysis"},
        {"mnuAnalysisXAxisProjection", "&SPECTRUM (X Axis Projection)..."},
        {"mnuAnalysisYAxisProjection", "&PROFILE (Y Axis Projection)..."},
        {"mnuAnalysisAreaProperties", "&Centroid and Area Measurement..."},
        {"mnuAnalysisInvertIntensity", "&Invert (Maximum - Intensity)"},
        {"mnuAnalysisDataThresholdsAsAbsoluteValues", "Set Data &Thresholds..."},
        {"mnuAnalysisRegionsofInterestAsAbsoluteValues", "Set &Regions of Interest Size and Position..."},
        {"mnuAnalysisRegionsofInterestDisplay", "&Display Region of Interest..."},
        {"mnuAnalysisIntensityDistribution", "&Histogram (Intensity Distribution)..."},
        {"mnuAnalysisAnalysisSettings", "&Analysis Settings"},
        {"mnuAnalysisAnalysisSettingsOpen", "&Open..."},
        {"mnuAnalysisAnalysisSettingsSaveAs", "&Save As..."},
        {"mnuHelp", "&Help"},
        {"mnuHelpAbout", "&About..."},
    };
    for (const auto& [name, caption] : items) {
        QAction* item = f.action(name);
        QCOMPARE(item->text(), QString::fromUtf8(caption));
        QVERIFY2(item->isVisible(), name);
    }
    // Submenus sit under their parents.
    QCOMPARE(f.widget<QMenu>("mnuImageZoom")->parent(), f.widget<QMenu>("mnuImage"));
    QVERIFY(f.widget<QMenu>("mnuImageZoom")->actions().contains(f.action("mnuImageZoom200")));
    QVERIFY(f.widget<QMenu>("mnuFileSave")->actions().contains(f.action("mnuFileSaveAsDisplay")));
}

void MainWindowTest::settingsFolderThatCannotBeCreatedIsReportedAndStartUpGoesOn()
{
    UiFixture f([](UiFixture& fixture) {
        // AppData names a file: no folder can be made under it.
        const QString blocker = fixture.folder() + QStringLiteral("/appdata-file");
        uitest::writeText(blocker, "x");
        qputenv("AppData", blocker.toLocal8Bit());
    });
    const QString blocker = f.folder() + QStringLiteral("/appdata-file");
    QVERIFY(f.messages.size() >= 2);
    QCOMPARE(f.messages[0], blocker + QStringLiteral("/Halvern Labs *not* created"));
    QCOMPARE(f.messages[1], blocker + QStringLiteral("/Halvern Labs/Kestrova *not* created"));
    QVERIFY(f.window().isVisible());
    QVERIFY(f.window().windowState() == kestrova::MainWindowState::Startup);
}

void MainWindowTest::mouseOverTheLogoChangesNoLabel()
{
    UiFixture f;
    f.moveMouse(100, 100);
    QCOMPARE(readOutLabels(f), QStringList(5));
}

void MainWindowTest::cancelledOpenDialogChangesNothing()
{
    UiFixture f;
    for (const QString& answer : {QString(), QStringLiteral("*.*")}) {
        f.fileAnswers = QStringList{answer};
        QVERIFY(f.trigger("mnuFileOpen"));
        QVERIFY(f.window().windowState() == kestrova::MainWindowState::Startup);
        QVERIFY(!f.isEnabled("mnuImage"));
        QVERIFY(f.messages.isEmpty());
    }
    // The dialog was asked for an image with the preset "*.*", every supported image first, then
    // the image filter.
    QCOMPARE(f.fileRequests.size(), 2);
    QCOMPARE(f.fileRequests[0].kind, kestrova::FileDialogKind::Open);
    QCOMPARE(f.fileRequests[0].fileName, QStringLiteral("*.*"));
    QCOMPARE(f.fileRequests[0].filter,
             QStringLiteral("All supported images (*.bmp *.fit *.fts *.fits *.pgm)|*.bmp *.fit *.fts *.fits *.pgm|"
                            "Bitmap Files (*.bmp)|*.bmp|Flexible Image Transport System Files (*.fit)|*.fit|"
                            "Flexible Image Transport System Files (*.fts)|*.fts|Flexible Image Transport System "
                            "Files (*.fits)|*.fits|Portable Gray Map Files (*.pgm)|*.pgm"));
}

void MainWindowTest::failedOpenKeepsTheStartUpState()
{
    UiFixture f;
    uitest::writeText(f.dataFile("notes.txt"), "not an image");
    QVERIFY(!f.openThroughMenu(f.dataFile("notes.txt")));
    QCOMPARE(f.messages,
             QStringList{QStringLiteral("Error - input file does not have the extension .bmp, .fit, fts or .pgm")});
    QVERIFY(f.window().windowState() == kestrova::MainWindowState::Startup);
    QVERIFY(!f.isEnabled("mnuImage"));
    QVERIFY(!f.isEnabled("mnuFileClose"));
    QVERIFY(!f.box("picBox2")->picture().isNull());  // still the logo

    // A damaged image file is refused by its converter, with the converter's message.
    f.messages.clear();
    uitest::writeText(f.dataFile("broken.pgm"), "P5\n4 3\n255\nab");
    QVERIFY(!f.openThroughMenu(f.dataFile("broken.pgm")));
    QCOMPARE(f.messages.size(), 1);
    QVERIFY(f.messages[0].startsWith(QStringLiteral("Error - ")));
    QVERIFY(f.window().windowState() == kestrova::MainWindowState::Startup);
}

void MainWindowTest::fileOpenEnablesMenusAndShowsTheCaption()
{
    UiFixture f;
    writeSmallImage(f, true);
    QVERIFY(f.openThroughMenu(f.dataFile("small.pgm")));
    QVERIFY(f.messages.isEmpty());
    for (const char* name : {"mnuFileSave", "mnuFilePrint", "mnuFileClose", "mnuImage", "mnuAnalysis"})
        QVERIFY2(f.isEnabled(name), name);
    QCOMPARE(f.text("lblFN"), QStringLiteral("File name: small.pgm   Display Thresholds: On"));
    QVERIFY(f.action("mnuImageZoom100")->isChecked());
    QCOMPARE(f.state().zoom.zoomText, std::string("100"));
    // The longer side is 1024 screen pixels at 100 %.
    QCOMPARE(f.box("picBox2")->picture().size(), QSize(1024, 768));
    QCOMPARE(f.window().pictureFileName(), f.workFolder() + QStringLiteral("/Pic.Bmp"));
    QVERIFY(QFileInfo::exists(f.workFolder() + QStringLiteral("/Pic.Bmp")));
    QVERIFY(!QFileInfo::exists(f.workFolder() + QStringLiteral("/Tmp.ksv")));

    // With both initial thresholds off the caption has no suffix.
    UiFixture g([](UiFixture& fixture) { writeInitialValues(fixture, " 0\r 0.02\r 0\r 0.02\r"); });
    writeSmallImage(g, false);
    QVERIFY(g.openThroughMenu(g.dataFile("small.pgm")));
    QCOMPARE(g.text("lblFN"), QStringLiteral("File name: small.pgm"));
}

void MainWindowTest::readOut_data()
{
    QTest::addColumn<QPointF>("inner");  // fractions of the picture's width and height
    QTest::addColumn<QStringList>("expected");
    // Thresholds at 30 and 100: the span is 70.
    QTest::newRow("top edge, left") << QPointF(0.0, 0.0) << QStringList{"1", "3", "400.5", "90", "219"};
    QTest::newRow("bottom edge, left") << QPointF(0.0, 0.9999) << QStringList{"1", "1", "400.5", "10", "< T' hold"};
    QTest::newRow("bottom edge, third column") << QPointF(0.55, 0.9999) << QStringList{"3", "1", "401.5", "30", "0"};
    QTest::newRow("middle row, second column") << QPointF(0.3, 0.5) << QStringList{"2", "2", "401.0", "60", "109"};
    QTest::newRow("top edge, right edge") << QPointF(0.9999, 0.0) << QStringList{"4", "3", "402.0", "250", "> T' hold"};
    QTest::newRow("top row, third column, at the upper threshold")
        << QPointF(0.6, 0.2) << QStringList{"3", "3", "401.5", "110", "> T' hold"};
    QTest::newRow("top row, second column") << QPointF(0.4, 0.2) << QStringList{"2", "3", "401.0", "100", "255"};
}

void MainWindowTest::readOut()
{
    QFETCH(QPointF, inner);
    QFETCH(QStringList, expected);
    UiFixture f;
    writeSmallImage(f, true);
    QVERIFY(f.openThroughMenu(f.dataFile("small.pgm")));
    // Thresholds typed into the absolute dialog.
    QVERIFY(f.trigger("mnuImageDisplayThresholdsAsAbsoluteValues"));
    QWidget* dialog = f.child("frmImageDisplayThresholdsAsAbsoluteValuesfrm");
    QVERIFY(dialog);
    f.control<QLineEdit>(dialog, "txtLoThresholdValue")->setText("30");
    f.control<QLineEdit>(dialog, "txtHiThresholdValue")->setText("100");
    f.control<QRadioButton>(dialog, "optLoThresholdOn")->click();
    f.control<QRadioButton>(dialog, "optHiThresholdOn")->click();
    f.control<QPushButton>(dialog, "cmdClose")->click();
    QVERIFY(f.messages.isEmpty());

    const QSize picture = f.box("picBox2")->picture().size();
    moveMouseToPixel(f, QPointF(inner.x() * picture.width(), inner.y() * picture.height()));
    QCOMPARE(readOutLabels(f), expected);
    QCOMPARE(f.widget<QLabel>("lblvalG")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

void MainWindowTest::readOutWithoutCalibrationShowsNoCal()
{
    UiFixture f;
    writeSmallImage(f, true);
    QVERIFY(f.openThroughMenu(f.dataFile("small.pgm")));
    QCOMPARE(f.text("lblvalW"), QString());

    // An image from a folder without "SpecCal.txt" clears the calibration.
    QDir().mkpath(f.dataFolder() + QStringLiteral("/other"));
    uitest::writePgm(f.dataFile("other/plain.pgm"), 4, 3, 255, kSmall);
    QVERIFY(f.openThroughMenu(f.dataFile("other/plain.pgm")));
    QCOMPARE(f.text("lblvalW"), QStringLiteral("No Cal"));
    f.moveMouse(2.5, 1.5);
    QCOMPARE(f.text("lblvalW"), QStringLiteral("No Cal"));
    QCOMPARE(f.text("lblvalX"), QStringLiteral("2"));
    QCOMPARE(f.text("lblvalI"), QStringLiteral("100"));
}

void MainWindowTest::picBmpHoldsTheDisplayMappingOfAnIntegerImage()
{
    // Thresholds off: the whole range minimum .. maximum is spread over 0 .. 255.
    UiFixture f([](UiFixture& fixture) { writeInitialValues(fixture, " 0\r 0.02\r 0\r 0.02\r"); });
    const int width = 7;
    const int height = 5;
    std::vector<int> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.push_back(1000 + (i * 7919) % 3001);  // 16-bit values in 1000 .. 4000
    uitest::writePgm(f.dataFile("wide.pgm"), width, height, 65535, pixels);
    QVERIFY(f.openThroughMenu(f.dataFile("wide.pgm")));

    const auto [low, high] = std::minmax_element(pixels.begin(), pixels.end());
    const uitest::Bitmap bitmap = uitest::readBitmap32(f.workFolder() + QStringLiteral("/Pic.Bmp"));
    QCOMPARE(bitmap.width, width);
    QCOMPARE(bitmap.height, height);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const long expected = uitest::roundHalfEven(static_cast<double>(pixels[i] - *low) * 255.0 / (*high - *low));
        QCOMPARE(static_cast<long>(bitmap.grey[i]), expected);
        QCOMPARE(static_cast<int>(bitmap.fourth[i]), 0);
    }
    // The full-size picture holds the same levels, the bottom row (row 1) at the bottom.
    const QImage& full = f.box("picBox3")->picture();
    QCOMPARE(full.size(), QSize(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            QCOMPARE(qBlue(full.pixel(x, height - 1 - y)),
                     static_cast<int>(bitmap.grey[static_cast<std::size_t>(y * width + x)]));
}

void MainWindowTest::picBmpHoldsTheDisplayMappingOfAFloatImage()
{
    UiFixture f([](UiFixture& fixture) { writeInitialValues(fixture, " 1\r 0.00\r 1\r 0.00\r"); });
    const std::vector<float> pixels{-3.0f, -1.25f, 0.0f, 0.5f, 2.75f, 4.0f, 7.125f, 9.5f, 12.5f};
    QVERIFY(uitest::writeFloatFits(f.dataFile("float.fits"), 3, 3, pixels));
    QVERIFY(f.openThroughMenu(f.dataFile("float.fits")));
    QCOMPARE(f.state().image.valueFormat, std::string("#0.000"));

    const uitest::Bitmap bitmap = uitest::readBitmap32(f.workFolder() + QStringLiteral("/Pic.Bmp"));
    QCOMPARE(bitmap.grey.size(), pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const float quotient = (pixels[i] - (-3.0f)) * 255.0f / 15.5f;
        QCOMPARE(static_cast<long>(bitmap.grey[i]), uitest::roundHalfEven(quotient));
    }
    f.moveMouse(3.5, 1.5);  // top right: the last pixel
    QCOMPARE(f.text("lblvalI"), QStringLiteral("12.500"));
    QCOMPARE(f.text("lblvalG"), QStringLiteral("255"));
}

void MainWindowTest::unwritableWorkFolderStillShowsTheImage()
{
    UiFixture f([](UiFixture& fixture) {
        qputenv("TMP", (fixture.folder() + QStringLiteral("/no/such/folder")).toLocal8Bit());
    });
    uitest::writePgm(f.dataFile("small.pgm"), 4, 3, 255, kSmall);
    // The converter's temporary file cannot be written either: the open fails, nothing changes.
    QVERIFY(!f.openThroughMenu(f.dataFile("small.pgm")));
    QVERIFY(!f.messages.isEmpty());
    QVERIFY(f.window().windowState() == kestrova::MainWindowState::Startup);

    // With a work folder that holds the temporary image file but refuses the bitmap ...
    f.messages.clear();
    QDir().mkpath(f.folder() + QStringLiteral("/no/such/folder"));
    QDir().mkpath(f.folder() + QStringLiteral("/no/such/folder/Pic.Bmp"));  // a folder in the way
    QVERIFY(f.openThroughMenu(f.dataFile("small.pgm")));
    QCOMPARE(f.messages.value(0), QStringLiteral("Error - when opening temporary Bmp file"));
    // ... the picture is the image's, not the logo.
    QCOMPARE(f.box("picBox3")->picture().size(), QSize(4, 3));
    QCOMPARE(f.box("picBox2")->picture().size(), QSize(1024, 768));
    QCOMPARE(qGray(f.box("picBox2")->picture().pixel(1023, 0)), 255);  // 250, the maximum, top right
    QCOMPARE(qGray(f.box("picBox2")->picture().pixel(0, 767)), 0);     // 10, the minimum, bottom left
}

void MainWindowTest::invertDisplayInvertsThePictureButNotTheReadOut()
{
    UiFixture f([](UiFixture& fixture) { writeInitialValues(fixture, " 0\r 0.02\r 0\r 0.02\r"); });
    writeSmallImage(f, false);
    QVERIFY(f.openThroughMenu(f.dataFile("small.pgm")));
    const QString picBmp = f.workFolder() + QStringLiteral("/Pic.Bmp");
    const uitest::Bitmap before = uitest::readBitmap32(picBmp);
    f.moveMouse(2.5, 2.5);
    const QString grey = f.text("lblvalG");

    QVERIFY(f.trigger("mnuImageInvertDisplay"));
    QVERIFY(f.action("mnuImageInvertDisplay")->isChecked());
    const uitest::Bitmap after = uitest::readBitmap32(picBmp);
    QCOMPARE(after.grey.size(), before.grey.size());
    for (std::size_t i = 0; i < before.grey.size(); ++i)
        QCOMPARE(static_cast<int>(after.grey[i]), 255 - before.grey[i]);
    QCOMPARE(qBlue(f.box("picBox2")->picture().pixel(0, 0)), static_cast<int>(after.grey[8]));
    f.moveMouse(2.5, 2.5);
    QCOMPARE(f.text("lblvalG"), grey);

    QVERIFY(f.trigger("mnuImageInvertDisplay"));
    QVERIFY(!f.action("mnuImageInvertDisplay")->isChecked());
    QCOMPARE(uitest::readBitmap32(picBmp).grey, before.grey);

    // A newly opened image starts without inversion.
    QVERIFY(f.trigger("mnuImageInvertDisplay"));
    QVERIFY(f.openThroughMenu(f.dataFile("small.pgm")));
    QVERIFY(!f.action("mnuImageInvertDisplay")->isChecked());
    QCOMPARE(uitest::readBitmap32(picBmp).grey, before.grey);
}

void MainWindowTest::fileCloseEmptiesTheWindowAndReopenWorks()
{
    UiFixture f;
    writeSmallImage(f, true);
    QVERIFY(f.openThroughMenu(f.dataFile("small.pgm")));
    QVERIFY(f.trigger("mnuImageZoom200"));
    f.moveMouse(1.5, 1.5);
    QVERIFY(!f.text("lblvalX").isEmpty());

    QVERIFY(f.trigger("mnuFileClose"));
    QVERIFY(f.window().windowState() == kestrova::MainWindowState::Closed);
    for (const char* name : {"mnuFileSave", "mnuFilePrint", "mnuImage", "mnuAnalysis"})
        QVERIFY2(!f.isEnabled(name), name);
    QVERIFY(f.isEnabled("mnuFileClose"));
    QCOMPARE(readOutLabels(f), QStringList(5));
    QVERIFY(f.box("picBox2")->picture().isNull());
    QCOMPARE(f.state().zoom.zoomText, std::string("100"));
    QCOMPARE(f.state().image.imageBaseName, std::string("File name: "));
    QCOMPARE(f.state().image.imageExtension, std::string(".ext"));
    QCOMPARE(f.state().image.width, 6144);
    QCOMPARE(f.state().image.height, 4096);
    QVERIFY(!f.widget<QScrollBar>("hsbBox1")->isVisible());
    // The mouse reads nothing in the closed state.
    f.moveMouse(1.5, 1.5);
    QCOMPARE(readOutLabels(f), QStringList(5));

    // Reopening shows the image again at 100 %.
    QVERIFY(f.openThroughMenu(f.dataFile("small.pgm")));
    QVERIFY(f.window().windowState() != kestrova::MainWindowState::Closed);
    QVERIFY(f.isEnabled("mnuImage"));
    QCOMPARE(f.box("picBox2")->picture().size(), QSize(1024, 768));
    QVERIFY(f.action("mnuImageZoom100")->isChecked());
    QVERIFY(!f.action("mnuImageZoom200")->isChecked());
    f.moveMouse(4.5, 1.5);
    QCOMPARE(f.text("lblvalI"), QStringLiteral("250"));
    QVERIFY(f.messages.isEmpty());
}

void MainWindowTest::saveAsImageRenamesTheImage()
{
    UiFixture f;
    writeSmallImage(f, false);
    QVERIFY(f.openThroughMenu(f.dataFile("small.pgm")));

    f.fileAnswers = QStringList{f.dataFile("copy.pgm")};
    QVERIFY(f.trigger("mnuFileSaveAsImage"));
    QCOMPARE(f.fileRequests.last().kind, kestrova::FileDialogKind::Save);
    QCOMPARE(f.fileRequests.last().fileName, f.dataFile("small"));
    QVERIFY(f.messages.isEmpty());
    // The same pixels, written by the converter under its own header.
    const QByteArray copy = uitest::readFile(f.dataFile("copy.pgm"));
    QVERIFY(copy.startsWith("P5\n"));
    QVERIFY(copy.contains("\n4 3\n255\n"));
    QVERIFY(copy.endsWith(uitest::readFile(f.dataFile("small.pgm")).right(12)));
    QCOMPARE(f.text("lblFN"), QStringLiteral("File name: copy.pgm"));
    QCOMPARE(f.state().image.imageBaseName, std::string("copy"));

    // A name with another extension is refused with the extension message; nothing is written.
    f.fileAnswers = QStringList{f.dataFile("copy.png")};
    QVERIFY(f.trigger("mnuFileSaveAsImage"));
    QCOMPARE(f.messages, QStringList{QStringLiteral(
                             "Error - output file does not have the extension .bmp, .fit, .fts .fits, or .pgm")});
    QVERIFY(!QFileInfo::exists(f.dataFile("copy.png")));

    // A cancelled dialog saves nothing.
    f.messages.clear();
    f.fileAnswers.clear();
    QVERIFY(f.trigger("mnuFileSaveAsImage"));
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.text("lblFN"), QStringLiteral("File name: copy.pgm"));
}

void MainWindowTest::saveAsDisplayWritesTheShownPicture()
{
    UiFixture f([](UiFixture& fixture) { writeInitialValues(fixture, " 0\r 0.02\r 0\r 0.02\r"); });
    writeSmallImage(f, false);
    QVERIFY(f.openThroughMenu(f.dataFile("small.pgm")));
    QVERIFY(f.trigger("mnuImageZoom25"));  // 256 x 192 screen pixels

    f.fileAnswers = QStringList{f.dataFile("shown.bmp")};
    QVERIFY(f.trigger("mnuFileSaveAsDisplay"));
    QCOMPARE(f.fileRequests.last().fileName, f.dataFile("small-Image"));
    QVERIFY(f.messages.isEmpty());
    const uitest::Bitmap shown = uitest::readBitmap32(f.dataFile("shown.bmp"));
    QCOMPARE(shown.width, 256);
    QCOMPARE(shown.height, 192);
    // Bottom left is image pixel (1, 1) = 10, the minimum: black. Top right is 250: white.
    QCOMPARE(static_cast<int>(shown.grey.front()), 0);
    QCOMPARE(static_cast<int>(shown.grey.back()), 255);

    // The display as PGM goes through two converters and leaves only the PGM.
    f.fileAnswers = QStringList{f.dataFile("shown.pgm")};
    QVERIFY(f.trigger("mnuFileSaveAsDisplay"));
    QVERIFY(f.messages.isEmpty());
    QVERIFY(uitest::readFile(f.dataFile("shown.pgm")).startsWith("P5"));
    QCOMPARE(f.text("lblFN"), QStringLiteral("File name: small.pgm"));
}

void MainWindowTest::thresholdDialogsRefuseAFlatImage()
{
    UiFixture f;
    uitest::writePgm(f.dataFile("flat.pgm"), 3, 2, 255, std::vector<int>(6, 77));
    QVERIFY(f.openThroughMenu(f.dataFile("flat.pgm")));
    // The flat image shows black.
    QCOMPARE(uitest::readBitmap32(f.workFolder() + QStringLiteral("/Pic.Bmp")).grey, std::vector<std::uint8_t>(6, 0));
    for (const char* item : {"mnuImageDisplayThresholdsAsPerCentValues", "mnuImageDisplayThresholdsAsAbsoluteValues"}) {
        f.messages.clear();
        QVERIFY(f.trigger(item));
        QCOMPARE(f.messages, QStringList{QStringLiteral("Minimum and Maximum Equal - Thresholds cannot be set")});
        QVERIFY(!f.child("frmImageDisplayThresholdsAsPerCentValuesfrm"));
        QVERIFY(!f.child("frmImageDisplayThresholdsAsAbsoluteValuesfrm"));
    }
}

void MainWindowTest::smallPictureShrinksTheViewportAndHidesTheScrollBars()
{
    UiFixture f;
    uitest::writePgm(f.dataFile("band.pgm"), 2048, 4, 255, std::vector<int>(2048 * 4, 9));
    QVERIFY(f.openThroughMenu(f.dataFile("band.pgm")));
    // 1024 x 2 pixels at 100 %: the viewport closes round the picture.
    QCOMPARE(f.box("picBox2")->picture().size(), QSize(1024, 2));
    QCOMPARE(f.box("picBox1")->contentsRect().size(), f.box("picBox2")->size());
    QVERIFY(!f.widget<QScrollBar>("hsbBox1")->isVisible());
    QVERIFY(!f.widget<QScrollBar>("vsbBox1")->isVisible());
    // Centred across the window.
    const int left = f.box("picBox1")->x();
    const int right = f.widget<QWidget>("centralArea")->width() - (left + f.box("picBox1")->width());
    QVERIFY(std::abs(left - right) <= 1);
}

void MainWindowTest::scrollBarsMoveTheLargePicture()
{
    UiFixture f;
    writeSmallImage(f, false);
    QVERIFY(f.openThroughMenu(f.dataFile("small.pgm")));
    QVERIFY(f.trigger("mnuImageZoom200"));  // 2048 x 1536
    QScrollBar* across = f.widget<QScrollBar>("hsbBox1");
    QScrollBar* down = f.widget<QScrollBar>("vsbBox1");
    QVERIFY(across->isVisible());
    QVERIFY(down->isVisible());
    // The ranges are the hidden part of the picture, in twips (15 a pixel here).
    const QSize inner = f.box("picBox1")->contentsRect().size();
    QCOMPARE(across->maximum(), (f.box("picBox2")->width() - inner.width()) * 15);
    QCOMPARE(down->maximum(), (f.box("picBox2")->height() - inner.height()) * 15);
    across->setValue(1500);
    down->setValue(3000);
    QCOMPARE(f.box("picBox2")->pos(), QPoint(-100, -200));
    // The wheel over the picture scrolls it down, or across with Shift.
    const QPointF middle(200, 200);
    QWheelEvent downward(middle, f.box("picBox2")->mapToGlobal(middle), {}, QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.box("picBox2"), &downward);
    QVERIFY(down->value() > 3000);
    QCOMPARE(f.box("picBox2")->y(), -down->value() / 15);
    QWheelEvent sideways(middle, f.box("picBox2")->mapToGlobal(middle), {}, QPoint(0, -120), Qt::NoButton,
                         Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.box("picBox2"), &sideways);
    QVERIFY(across->value() != 1500);
    across->setValue(1500);
    down->setValue(3000);

    // The read-out follows the moved picture: image column 1 spans 512 screen pixels.
    f.moveMouse(1.5, 1.5);
    QCOMPARE(f.text("lblvalX"), QStringLiteral("1"));
    QCOMPARE(f.text("lblvalY"), QStringLiteral("3"));
}

void MainWindowTest::tooSmallWindowIsNotLaidOut()
{
    UiFixture f;
    writeSmallImage(f, false);
    QVERIFY(f.openThroughMenu(f.dataFile("small.pgm")));
    const QRect viewport = f.box("picBox1")->geometry();
    // 1440 twips are 96 pixels: the inner area gets narrower than that.
    f.window().resize(90, 600);
    QCoreApplication::processEvents();
    QVERIFY(f.widget<QWidget>("centralArea")->width() < 96);
    QCOMPARE(f.box("picBox1")->geometry(), viewport);
}

void MainWindowTest::standardShortcuts()
{
    UiFixture f;
    QCOMPARE(f.action("mnuFileOpen")->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(f.action("mnuFilePrint")->shortcut(), QKeySequence(QKeySequence::Print));
    QCOMPARE(f.action("mnuFileClose")->shortcut(), QKeySequence(QKeySequence::Close));
    QCOMPARE(f.action("mnuFileExit")->shortcut(), QKeySequence(QKeySequence::Quit));
    QCOMPARE(f.action("mnuImageZoomZoomIn")->shortcut(), QKeySequence(QKeySequence::ZoomIn));
    QCOMPARE(f.action("mnuImageZoomZoomOut")->shortcut(), QKeySequence(QKeySequence::ZoomOut));
}

void MainWindowTest::commandLineFileOpensAtStartUp()
{
    UiFixture f;
    writeSmallImage(f, false);
    QProcess program;
    const QString programPath = f.prepareProgram(program);
    QFile::remove(f.workFolder() + QStringLiteral("/Pic.Bmp"));
    program.start(programPath, {f.dataFile("small.pgm"), QStringLiteral("--quit-when-shown")});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(
        QDir(f.workFolder()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));  // private folder gone

    // A file that cannot be opened ends such a run with a failure.
    program.start(programPath, {f.dataFile("missing.pgm"), QStringLiteral("--quit-when-shown")});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 1);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
