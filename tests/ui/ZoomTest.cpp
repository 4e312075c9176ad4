// The zoom: the ten items and their check marks, Zoom In and Out, the enlargement limit, Fit to
// Height and Width, and the custom zoom dialog.

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "UiTestSupport.h"
#include "gFormPictureBox.h"

using uitest::UiFixture;

namespace {

const char* const kZoomItems[] = {"mnuImageZoomZoomIn",     "mnuImageZoomZoomOut", "mnuImageZoomFitToHeight",
                                  "mnuImageZoomFitToWidth", "mnuImageZoom25",      "mnuImageZoom50",
                                  "mnuImageZoom75",         "mnuImageZoom100",     "mnuImageZoom200",
                                  "mnuImageZoomCustom"};

// The only checked zoom item, or an empty text when none or several are checked.
QString checkedZoomItem(UiFixture& f)
{
    QString checked;
    for (const char* name : kZoomItems) {
        if (!f.action(name)->isChecked())
            continue;
        if (!checked.isEmpty())
            return {};
        checked = QString::fromLatin1(name);
    }
    return checked;
}

QSize shown(UiFixture& f)
{
    return f.box("picBox2")->pictureSize();
}

}  // namespace

class ZoomTest : public QObject {
    Q_OBJECT

private slots:
    void fixedLevelsSizeThePictureAndCheckTheirItem();
    void zoomInTexts();
    void zoomOutTextsStopAtTwoPerCent();
    void enlargementBeyondTheScrollRangeIsRefused();
    void fitToWidthAndHeightFillTheViewport();
    void fitNeverEnlargesASmallPicture();
    void customZoomDialog_data();
    void customZoomDialog();
    void customZoomCancelChangesNothing();
    void displayChangesKeepTheZoom();
};

void ZoomTest::fixedLevelsSizeThePictureAndCheckTheirItem()
{
    UiFixture f;
    openWideImage(f);
    QCOMPARE(shown(f), QSize(1024, 256));
    QCOMPARE(checkedZoomItem(f), QStringLiteral("mnuImageZoom100"));
    const QList<std::tuple<const char*, std::string, QSize>> levels{
        {"mnuImageZoom25", "25", QSize(256, 64)},     {"mnuImageZoom50", "50", QSize(512, 128)},
        {"mnuImageZoom75", "75", QSize(768, 192)},    {"mnuImageZoom200", "200", QSize(2048, 512)},
        {"mnuImageZoom100", "100", QSize(1024, 256)},
    };
    for (const auto& [item, text, size] : levels) {
        QVERIFY(f.trigger(item));
        QCOMPARE(f.state().zoom.zoomText, text);
        QCOMPARE(checkedZoomItem(f), QString::fromLatin1(item));
        QCOMPARE(shown(f), size);
    }
    // The picture's coordinates stay image pixels at every zoom.
    QVERIFY(f.trigger("mnuImageZoom25"));
    f.moveMouse(2048.5, 1.5);
    QCOMPARE(f.text("lblvalX"), QStringLiteral("2048"));
    QCOMPARE(f.text("lblvalY"), QStringLiteral("512"));
    QVERIFY(f.messages.isEmpty());
}

void ZoomTest::zoomInTexts()
{
    UiFixture f;
    openWideImage(f);
    const QStringList expected{"120.00", "144.00", "172.80", "207.60"};
    for (const QString& text : expected) {
        QVERIFY(f.trigger("mnuImageZoomZoomIn"));
        QCOMPARE(QString::fromStdString(f.state().zoom.zoomText), text);
        QCOMPARE(checkedZoomItem(f), QStringLiteral("mnuImageZoomZoomIn"));
    }
    // 207.60 reads as 208 per cent: 2048 x 0.5 x 2.08 = 2129.92 pixels across.
    QCOMPARE(shown(f), QSize(2130, 532));
}

void ZoomTest::zoomOutTextsStopAtTwoPerCent()
{
    UiFixture f;
    openWideImage(f);
    const QStringList expected{"83.33", "69.17", "57.50", "48.33", "40.00", "33.33", "27.50", "23.33",
                               "19.17", "15.83", "13.33", "10.83", "9.17",  "7.50",  "6.67",  "5.83",
                               "5.00",  "4.17",  "3.33",  "2.50",  "1.67",  "1.67"};
    for (const QString& text : expected) {
        QVERIFY(f.trigger("mnuImageZoomZoomOut"));
        QCOMPARE(QString::fromStdString(f.state().zoom.zoomText), text);
    }
    QCOMPARE(checkedZoomItem(f), QStringLiteral("mnuImageZoomZoomOut"));
    QCOMPARE(shown(f), QSize(20, 5));  // 2 % of 1024 x 256
    QVERIFY(f.messages.isEmpty());
}

void ZoomTest::enlargementBeyondTheScrollRangeIsRefused()
{
    UiFixture f;
    openWideImage(f);
    // Any window scrolls a picture well beyond one screen pixel per image pixel.
    QVERIFY(f.trigger("mnuImageZoom200"));
    QVERIFY(f.trigger("mnuImageZoomZoomIn"));  // 240
    QVERIFY(f.trigger("mnuImageZoomZoomIn"));  // 288
    QVERIFY(f.trigger("mnuImageZoomZoomIn"));  // 345.60, read as 346
    QCOMPARE(f.state().zoom.zoomText, std::string("345.60"));
    QCOMPARE(shown(f), QSize(3543, 886));
    QVERIFY(f.messages.isEmpty());

    // A zoom text beyond 16 bits is refused; the picture and the check mark stay.
    QVERIFY(f.window().applyCustomZoom("30000"));
    const QSize before = shown(f);
    QCOMPARE(before, QSize(307200, 76800));
    QVERIFY(f.trigger("mnuImageZoomZoomIn"));  // 36000.00
    QCOMPARE(f.messages, QStringList{QStringLiteral("Error -  image cannot be enlarged")});
    QCOMPARE(f.state().zoom.zoomText, std::string("30000"));
    QCOMPARE(shown(f), before);
    QCOMPARE(checkedZoomItem(f), QStringLiteral("mnuImageZoomCustom"));
}

void ZoomTest::fitToWidthAndHeightFillTheViewport()
{
    UiFixture f;
    openWideImage(f);
    f.window().resize(800, 600);
    QCoreApplication::processEvents();
    const int innerWidth = f.widget<QWidget>("centralArea")->width() - 96 - 2;  // viewport less its border

    QVERIFY(f.trigger("mnuImageZoomFitToWidth"));
    QCOMPARE(checkedZoomItem(f), QStringLiteral("mnuImageZoomFitToWidth"));
    // Measured at 100 %: the viewport's inner width over the picture box's width (1026 pixels).
    const double expected = innerWidth * 100.0 / 1026.0;
    QCOMPARE(QString::fromStdString(f.state().zoom.zoomText), QString::number(expected, 'f', 2));
    QCOMPARE(shown(f).width(),
             static_cast<int>(std::lround(2048 * 0.5 * static_cast<double>(std::lround(expected)) / 100.0)));

    // Fit to height starts again from 100 %, where the picture is lower than the viewport: the
    // viewport has closed round it, so the fit is 100 %.
    QVERIFY(f.trigger("mnuImageZoomFitToHeight"));
    QCOMPARE(checkedZoomItem(f), QStringLiteral("mnuImageZoomFitToHeight"));
    QCOMPARE(f.state().zoom.zoomText, std::string("100.00"));
    QCOMPARE(shown(f), QSize(1024, 256));
}

void ZoomTest::fitNeverEnlargesASmallPicture()
{
    UiFixture f;
    std::vector<int> pixels(64 * 16, 5);
    pixels[0] = 200;
    uitest::writePgm(f.dataFile("small.pgm"), 64, 16, 255, pixels);
    QVERIFY(f.openThroughMenu(f.dataFile("small.pgm")));
    QVERIFY(f.trigger("mnuImageZoom50"));
    QCOMPARE(shown(f), QSize(512, 128));
    for (const char* item : {"mnuImageZoomFitToWidth", "mnuImageZoomFitToHeight"}) {
        QVERIFY(f.trigger(item));
        QVERIFY(shown(f).width() <= 1024);
        QVERIFY(std::stod(f.state().zoom.zoomText) <= 100.0);
    }
}

void ZoomTest::customZoomDialog_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shownAfter");
    QTest::addColumn<QString>("zoomAfterOk");
    QTest::addColumn<bool>("refused");
    QTest::newRow("in range") << "150"
                              << "150"
                              << "150" << false;
    QTest::newRow("lower end") << "1"
                               << "1"
                               << "1" << false;
    // 500 % is a valid entry: 5120 screen pixels across.
    QTest::newRow("upper end") << "500"
                               << "500"
                               << "500" << false;
    QTest::newRow("above the range") << "600"
                                     << "100"
                                     << "100" << false;
    QTest::newRow("zero") << "0"
                          << "100"
                          << "100" << false;
    QTest::newRow("letters") << "abc"
                             << "100"
                             << "100" << false;
    QTest::newRow("lone minus sign") << "-"
                                     << "100"
                                     << "100" << false;
}

void ZoomTest::customZoomDialog()
{
    QFETCH(QString, typed);
    QFETCH(QString, shownAfter);
    QFETCH(QString, zoomAfterOk);
    QFETCH(bool, refused);
    UiFixture f;
    uitest::writePgm(f.dataFile("tiny.pgm"), 8, 4, 255,
                     std::vector<int>{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                      16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31});
    QVERIFY(f.openThroughMenu(f.dataFile("tiny.pgm")));
    QVERIFY(f.trigger("mnuImageZoomCustom"));
    QWidget* dialog = f.child("frmImageZoomCustomfrm");
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Zoom Custom"));
    auto* box = f.control<QLineEdit>(dialog, "txtZoomValue");
    QCOMPARE(box->text(), QStringLiteral("100"));

    box->clear();
    QTest::keyClicks(box, typed);
    QCOMPARE(box->text(), shownAfter);
    f.control<QPushButton>(dialog, "cmdOK")->click();
    QVERIFY(!f.child("frmImageZoomCustomfrm"));
    QCOMPARE(QString::fromStdString(f.state().zoom.zoomText), zoomAfterOk);
    if (refused) {
        QCOMPARE(f.messages, QStringList{QStringLiteral("Error -  image cannot be enlarged")});
        QCOMPARE(checkedZoomItem(f), QStringLiteral("mnuImageZoom100"));
        return;
    }
    QCOMPARE(checkedZoomItem(f), QStringLiteral("mnuImageZoomCustom"));
    QVERIFY(f.messages.isEmpty());
}

void ZoomTest::customZoomCancelChangesNothing()
{
    UiFixture f;
    openWideImage(f);
    QVERIFY(f.trigger("mnuImageZoom50"));
    QVERIFY(f.trigger("mnuImageZoomCustom"));
    QWidget* dialog = f.child("frmImageZoomCustomfrm");
    QVERIFY(dialog);
    auto* box = f.control<QLineEdit>(dialog, "txtZoomValue");
    QCOMPARE(box->text(), QStringLiteral("50"));
    box->setText(QStringLiteral("75"));
    f.control<QPushButton>(dialog, "cmdCancel")->click();
    QVERIFY(!f.child("frmImageZoomCustomfrm"));
    QCOMPARE(f.state().zoom.zoomText, std::string("50"));
    QCOMPARE(checkedZoomItem(f), QStringLiteral("mnuImageZoom50"));

    // 450 % (4608 screen pixels across) is applied, whatever the window's size.
    QVERIFY(f.trigger("mnuImageZoomCustom"));
    dialog = f.child("frmImageZoomCustomfrm");
    f.control<QLineEdit>(dialog, "txtZoomValue")->setText(QStringLiteral("450"));
    f.control<QPushButton>(dialog, "cmdOK")->click();
    QVERIFY(f.messages.isEmpty());
    QVERIFY(!f.child("frmImageZoomCustomfrm"));
    QCOMPARE(shown(f), QSize(4608, 1152));
    QCOMPARE(checkedZoomItem(f), QStringLiteral("mnuImageZoomCustom"));
}

void ZoomTest::displayChangesKeepTheZoom()
{
    UiFixture f;
    openWideImage(f);
    QVERIFY(f.trigger("mnuImageZoomZoomOut"));
    const QSize size = shown(f);
    QVERIFY(f.trigger("mnuImageInvertDisplay"));
    QCOMPARE(shown(f), size);
    QCOMPARE(f.state().zoom.zoomText, std::string("83.33"));
    QCOMPARE(checkedZoomItem(f), QStringLiteral("mnuImageZoomZoomOut"));
    // A new image starts at 100 % again.
    QVERIFY(f.openThroughMenu(f.dataFile("wide.pgm")));
    QCOMPARE(f.state().zoom.zoomText, std::string("100"));
    QCOMPARE(checkedZoomItem(f), QStringLiteral("mnuImageZoom100"));
    QCOMPARE(shown(f), QSize(1024, 256));
}

QTEST_MAIN(ZoomTest)
#include "ZoomTest.moc"
