// The display threshold dialogs, the initial display thresholds dialog, the information and
// about windows, and printing.

#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "KestrovaVersion.h"
#include "UiTestSupport.h"
#include "gFormPictureBox.h"

using uitest::UiFixture;

namespace {

constexpr const char* kPerCent = "frmImageDisplayThresholdsAsPerCentValuesfrm";
constexpr const char* kAbsolute = "frmImageDisplayThresholdsAsAbsoluteValuesfrm";
constexpr const char* kInitial = "frmFileInitialDisplayThresholdsfrm";

// 16-bit image of 40 x 25 pixels holding 0 .. 99 ten times each: per-cents move the thresholds.
void openRampImage(UiFixture& f)
{
    std::vector<int> pixels(1000);
    for (int i = 0; i < 1000; ++i)
        pixels[static_cast<std::size_t>(i)] = (i * 37) % 1000 / 10;
    uitest::writePgm(f.dataFile("ramp.pgm"), 40, 25, 65535, pixels);
    if (!f.openThroughMenu(f.dataFile("ramp.pgm")))
        throw std::runtime_error("the ramp image did not open");
}

void openFloatImage(UiFixture& f)
{
    const std::vector<float> pixels{-3.0f, -1.25f, 0.0f, 0.5f, 2.75f, 4.0f, 7.125f, 9.5f, 12.5f};
    if (!uitest::writeFloatFits(f.dataFile("float.fits"), 3, 3, pixels) || !f.openThroughMenu(f.dataFile("float.fits")))
        throw std::runtime_error("the float image did not open");
}

QWidget* openDialog(UiFixture& f, const char* item, const char* name)
{
    if (!f.trigger(item))
        return nullptr;
    return f.child(name);
}

void type(UiFixture& f, QWidget* dialog, const QString& lower, const QString& upper)
{
    f.control<QLineEdit>(dialog, "txtLoThresholdValue")->setText(lower);
    f.control<QLineEdit>(dialog, "txtHiThresholdValue")->setText(upper);
}

void click(UiFixture& f, QWidget* dialog, const char* name)
{
    f.control<QAbstractButton>(dialog, name)->click();
    QCoreApplication::processEvents();
}

QStringList boxes(UiFixture& f, QWidget* dialog)
{
    return {f.control<QLineEdit>(dialog, "txtLoThresholdValue")->text(),
            f.control<QLineEdit>(dialog, "txtHiThresholdValue")->text()};
}

bool sameThresholds(const kestrova::DisplayThresholds& a, const kestrova::DisplayThresholds& b)
{
    const auto same = [](const kestrova::ThresholdSide& x, const kestrova::ThresholdSide& y) {
        return x.on == y.on && x.percentText == y.percentText && x.percent == y.percent && x.valueText == y.valueText &&
               x.intValue == y.intValue && x.floatValue == y.floatValue;
    };
    return same(a.lower, b.lower) && same(a.upper, b.upper);
}

QByteArray picBmp(UiFixture& f)
{
    return uitest::readFile(f.workFolder() + QStringLiteral("/Pic.Bmp"));
}

// True when the picture painted on the screen shows, at the centre of each image pixel, the
// grey level of the temporary display bitmap.
bool screenShowsPicBmp(UiFixture& f)
{
    const uitest::Bitmap bitmap = uitest::readBitmap32(f.workFolder() + QStringLiteral("/Pic.Bmp"));
    kestrova::PictureBox* box = f.box("picBox2");
    const QImage shown = box->grab().toImage();
    const QRect inner = box->contentsRect();
    if (bitmap.width == 0 || inner.isEmpty())
        return false;
    const double across = static_cast<double>(inner.width()) / bitmap.width;
    const double down = static_cast<double>(inner.height()) / bitmap.height;
    for (int row = 0; row < bitmap.height; ++row) {
        for (int column = 0; column < bitmap.width; ++column) {
            const QPoint at(inner.left() + static_cast<int>((column + 0.5) * across),
                            inner.top() + static_cast<int>((bitmap.height - row - 0.5) * down));
            if (qBlue(shown.pixel(at)) != bitmap.grey[static_cast<std::size_t>(row * bitmap.width + column)])
                return false;
        }
    }
    return true;
}

QByteArray initialValues(UiFixture& f)
{
    return uitest::readFile(f.settingsFolder() + QStringLiteral("/InitialValues.txt"));
}

int pdfPages(const QByteArray& pdf)
{
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page ") +
                            pdf.count("/Type /Page/") + pdf.count("/Type /Page>"));
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void perCentChecksInOrder_data();
    void perCentChecksInOrder();
    void perCentSetThenCancelRestoresThePicture();
    void perCentCloseKeepsTheNewThresholds();
    void perCentOffSideTakesTheImageRange();
    void absoluteChecksInOrder_data();
    void absoluteChecksInOrder();
    void absoluteChecksAFloatImage();
    void absoluteSetThenCancelRestoresThePicture();
    void openingOneThresholdDialogClosesTheOther();
    void initialThresholdsDialog();
    void initialThresholdsOffSideReachesTheNextImage();
    void informationWindowShowsTheCurrentImage();
    void aboutWindowShowsTheVersion();
    void printWritesOnePageAndKeepsTheSettings();
    void cancelledPrintPrintsNothing();
};

void DialogsTest::perCentChecksInOrder_data()
{
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("both not numeric") << "abc"
                                      << "xyz"
                                      << "Error - Lower Threshold Value is not numeric" << QStringList{"abc", "xyz"};
    QTest::newRow("upper letters") << "5"
                                   << "x1"
                                   << "Error - Upper Threshold Value is not numeric" << QStringList{"5", "x1"};
    QTest::newRow("sum of 100") << "50"
                                << "50"
                                << "Error - The sum of the Lower and Upper Threshold Values must be less than 100.00"
                                << QStringList{"50", "50"};
    QTest::newRow("sum checked before the range")
        << "100"
        << "5"
        << "Error - The sum of the Lower and Upper Threshold Values must be less than 100.00"
        << QStringList{"100", "5"};
    QTest::newRow("lower above 99.99") << "99.995"
                                       << "0"
                                       << "Error - Lower Threshold Value must be between 0.00 and 99.99"
                                       << QStringList{"99.995", "0"};
    QTest::newRow("lower negative") << "-1"
                                    << "5"
                                    << "Error - Lower Threshold Value must be between 0.00 and 99.99"
                                    << QStringList{"-1", "5"};
    QTest::newRow("upper negative") << "5"
                                    << "-0.5"
                                    << "Error - Upper Threshold Value must be between O.00 and 99.99"
                                    << QStringList{"5", "-0.5"};
    QTest::newRow("accepted at the ends") << "99.99"
                                          << "0"
                                          << "" << QStringList{"99.99", "0.00"};
    QTest::newRow("accepted and formatted") << "2"
                                            << "3.5"
                                            << "" << QStringList{"2.00", "3.50"};
}

void DialogsTest::perCentChecksInOrder()
{
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(QString, message);
    QFETCH(QStringList, shown);
    UiFixture f;
    openRampImage(f);
    const kestrova::DisplayThresholds before = f.state().displayThresholds;
    QWidget* dialog = openDialog(f, "mnuImageDisplayThresholdsAsPerCentValues", kPerCent);
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Display Thresholds As % Values"));
    QCOMPARE(boxes(f, dialog), (QStringList{"0.02", "0.02"}));
    type(f, dialog, lower, upper);
    click(f, dialog, "cmdApply");

    QVERIFY(f.child(kPerCent));
    QCOMPARE(boxes(f, dialog), shown);
    if (!message.isEmpty()) {
        QCOMPARE(f.messages, QStringList{message});
        QVERIFY(sameThresholds(f.state().displayThresholds, before));
        // Close fails the same way and keeps the dialog open.
        click(f, dialog, "cmdClose");
        QVERIFY(f.child(kPerCent));
        QCOMPARE(f.messages.size(), 2);
        return;
    }
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(QString::fromStdString(f.state().displayThresholds.lower.percentText), shown[0]);
    QCOMPARE(QString::fromStdString(f.state().displayThresholds.upper.percentText), shown[1]);
}

void DialogsTest::perCentSetThenCancelRestoresThePicture()
{
    UiFixture f;
    openRampImage(f);
    QVERIFY(f.trigger("mnuImageZoom50"));
    const kestrova::DisplayThresholds before = f.state().displayThresholds;
    const QByteArray pictureBefore = picBmp(f);

    QWidget* dialog = openDialog(f, "mnuImageDisplayThresholdsAsPerCentValues", kPerCent);
    QVERIFY(f.action("mnuImageDisplayThresholdsAsPerCentValues")->isChecked());
    QVERIFY(f.control<QRadioButton>(dialog, "optLoThresholdOn")->isChecked());
    QVERIFY(!f.control<QRadioButton>(dialog, "optHiThresholdOff")->isChecked());
    type(f, dialog, "10", "20");
    click(f, dialog, "cmdApply");
    QVERIFY(f.messages.isEmpty());
    QVERIFY(f.child(kPerCent));
    const kestrova::DisplayThresholds& now = f.state().displayThresholds;
    QCOMPARE(now.lower.percent, 10.0f);
    QCOMPARE(now.upper.percent, 20.0f);
    // About a tenth of 0 .. 99 lies below the new lower value, a fifth above the upper one.
    QVERIFY2(now.lower.intValue >= 8 && now.lower.intValue <= 12, now.lower.valueText.c_str());
    QVERIFY2(now.upper.intValue >= 77 && now.upper.intValue <= 82, now.upper.valueText.c_str());
    QVERIFY(picBmp(f) != pictureBefore);
    QVERIFY(screenShowsPicBmp(f));
    QCOMPARE(f.state().zoom.zoomText, std::string("50"));
    QCOMPARE(f.box("picBox2")->picture().width(), 512);  // 40 pixels at 50 % of 25.6

    click(f, dialog, "cmdCancel");
    QVERIFY(!f.child(kPerCent));
    QVERIFY(!f.action("mnuImageDisplayThresholdsAsPerCentValues")->isChecked());
    QVERIFY(sameThresholds(f.state().displayThresholds, before));
    QCOMPARE(picBmp(f), pictureBefore);
    QVERIFY(screenShowsPicBmp(f));

    // The window's close box restores too.
    dialog = openDialog(f, "mnuImageDisplayThresholdsAsPerCentValues", kPerCent);
    type(f, dialog, "30", "30");
    click(f, dialog, "cmdApply");
    dialog->close();
    QVERIFY(!f.child(kPerCent));
    QVERIFY(sameThresholds(f.state().displayThresholds, before));
    QCOMPARE(picBmp(f), pictureBefore);
}

void DialogsTest::perCentCloseKeepsTheNewThresholds()
{
    UiFixture f;
    openRampImage(f);
    const QByteArray pictureBefore = picBmp(f);
    QWidget* dialog = openDialog(f, "mnuImageDisplayThresholdsAsPerCentValues", kPerCent);
    type(f, dialog, "25", "25");
    click(f, dialog, "cmdClose");
    QVERIFY(!f.child(kPerCent));
    QCOMPARE(f.state().displayThresholds.lower.percentText, std::string("25.00"));
    QVERIFY(picBmp(f) != pictureBefore);
    // Reopened, it shows what was stored.
    dialog = openDialog(f, "mnuImageDisplayThresholdsAsPerCentValues", kPerCent);
    QCOMPARE(boxes(f, dialog), (QStringList{"25.00", "25.00"}));
    // The caption keeps what File Open gave it.
    QCOMPARE(f.text("lblFN"), QStringLiteral("File name: ramp.pgm   Display Thresholds: On"));
}

void DialogsTest::perCentOffSideTakesTheImageRange()
{
    UiFixture f;
    openRampImage(f);
    QWidget* dialog = openDialog(f, "mnuImageDisplayThresholdsAsPerCentValues", kPerCent);
    click(f, dialog, "optLoThresholdOff");
    // The option acts on the record at once.
    QVERIFY(!f.state().displayThresholds.lower.on);
    type(f, dialog, "10", "10");
    click(f, dialog, "cmdApply");
    const kestrova::DisplayThresholds& now = f.state().displayThresholds;
    QCOMPARE(now.lower.percent, 0.0f);
    QCOMPARE(now.lower.intValue, 0);  // the image minimum
    QCOMPARE(now.lower.percentText, std::string("10.00"));
    QVERIFY(now.upper.intValue < 99);
    // Cancel brings the lower side back on.
    click(f, dialog, "cmdCancel");
    QVERIFY(f.state().displayThresholds.lower.on);
}

void DialogsTest::absoluteChecksInOrder_data()
{
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("shown");
    // The ramp holds 0 .. 99.
    QTest::newRow("lower letters") << "a"
                                   << "5"
                                   << "Error - Lower Threshold Value is not numeric" << QStringList{"a", "5"};
    QTest::newRow("upper letters") << "20"
                                   << "b"
                                   << "Error - Upper Threshold Value is not numeric" << QStringList{"20", "b"};
    QTest::newRow("lower below the minimum")
        << "-5"
        << "200"
        << "Error - Lower Threshold Value must be between minimum and maximum" << QStringList{"-5", "200"};
    QTest::newRow("upper above the maximum")
        << "20"
        << "100"
        << "Error - Upper Threshold Value must be between minimum and maximum" << QStringList{"20", "100"};
    QTest::newRow("beyond 32 bits") << "1e10"
                                    << "100"
                                    << "Error - Lower Threshold Value must be between minimum and maximum"
                                    << QStringList{"1e10", "100"};
    QTest::newRow("lower above upper") << "60"
                                       << "50"
                                       << "Error - The Lower Threshold Value is greater than the Upper Threshold Value"
                                       << QStringList{"60", "50"};
    QTest::newRow("equal values") << "60"
                                  << "60"
                                  << "" << QStringList{"60", "60"};
    QTest::newRow("read as integers") << "20.4"
                                      << "98.5"
                                      << "" << QStringList{"20", "98"};
}

void DialogsTest::absoluteChecksInOrder()
{
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(QString, message);
    QFETCH(QStringList, shown);
    UiFixture f;
    openRampImage(f);
    const kestrova::DisplayThresholds before = f.state().displayThresholds;
    QWidget* dialog = openDialog(f, "mnuImageDisplayThresholdsAsAbsoluteValues", kAbsolute);
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Display Thresholds As Absolute Values"));
    QCOMPARE(f.control<QLabel>(dialog, "lblMiniimumValue")->text(), QStringLiteral("0"));
    QCOMPARE(f.control<QLabel>(dialog, "lblMaxiimumValue")->text(), QStringLiteral("99"));
    QCOMPARE(boxes(f, dialog), (QStringList{QString::fromStdString(before.lower.valueText),
                                            QString::fromStdString(before.upper.valueText)}));
    type(f, dialog, lower, upper);
    click(f, dialog, "cmdApply");
    QCOMPARE(boxes(f, dialog), shown);
    if (!message.isEmpty()) {
        QCOMPARE(f.messages, QStringList{message});
        QVERIFY(sameThresholds(f.state().displayThresholds, before));
        return;
    }
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.state().displayThresholds.lower.intValue, shown[0].toInt());
    QCOMPARE(f.state().displayThresholds.upper.intValue, shown[1].toInt());
    // The per-cent texts follow the values.
    QVERIFY(f.state().displayThresholds.lower.percentText != before.lower.percentText);
}

void DialogsTest::absoluteChecksAFloatImage()
{
    UiFixture f;
    openFloatImage(f);
    QWidget* dialog = openDialog(f, "mnuImageDisplayThresholdsAsAbsoluteValues", kAbsolute);
    QCOMPARE(f.control<QLabel>(dialog, "lblMiniimumValue")->text(), QStringLiteral("-3.000"));
    QCOMPARE(f.control<QLabel>(dialog, "lblMaxiimumValue")->text(), QStringLiteral("12.500"));
    type(f, dialog, "-3.5", "0");
    click(f, dialog, "cmdApply");
    QCOMPARE(f.messages,
             QStringList{QStringLiteral("Error - Lower Threshold Value must be between minimum and maximum")});
    f.messages.clear();
    type(f, dialog, "-1.25", "4");
    click(f, dialog, "cmdClose");
    QVERIFY(f.messages.isEmpty());
    QVERIFY(!f.child(kAbsolute));
    QCOMPARE(f.state().displayThresholds.lower.valueText, std::string("-1.250"));
    QCOMPARE(f.state().displayThresholds.lower.floatValue, -1.25f);
    QCOMPARE(f.state().displayThresholds.upper.floatValue, 4.0f);
    // Below the lower value black, from the upper value on white.
    const uitest::Bitmap bitmap = uitest::readBitmap32(f.workFolder() + QStringLiteral("/Pic.Bmp"));
    QCOMPARE(bitmap.grey, (std::vector<std::uint8_t>{0, 0, 61, 85, 194, 255, 255, 255, 255}));
}

void DialogsTest::absoluteSetThenCancelRestoresThePicture()
{
    UiFixture f;
    openRampImage(f);
    const kestrova::DisplayThresholds before = f.state().displayThresholds;
    const QByteArray pictureBefore = picBmp(f);
    QWidget* dialog = openDialog(f, "mnuImageDisplayThresholdsAsAbsoluteValues", kAbsolute);
    QVERIFY(f.action("mnuImageDisplayThresholdsAsAbsoluteValues")->isChecked());
    type(f, dialog, "30", "40");
    click(f, dialog, "cmdApply");
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.state().displayThresholds.lower.intValue, 30);
    QVERIFY(picBmp(f) != pictureBefore);
    click(f, dialog, "cmdCancel");
    QVERIFY(!f.child(kAbsolute));
    QVERIFY(!f.action("mnuImageDisplayThresholdsAsAbsoluteValues")->isChecked());
    QVERIFY(sameThresholds(f.state().displayThresholds, before));
    QCOMPARE(picBmp(f), pictureBefore);
}

void DialogsTest::openingOneThresholdDialogClosesTheOther()
{
    UiFixture f;
    openRampImage(f);
    const kestrova::DisplayThresholds before = f.state().displayThresholds;
    QWidget* absolute = openDialog(f, "mnuImageDisplayThresholdsAsAbsoluteValues", kAbsolute);
    type(f, absolute, "30", "40");
    click(f, absolute, "cmdApply");
    QWidget* perCent = openDialog(f, "mnuImageDisplayThresholdsAsPerCentValues", kPerCent);
    QVERIFY(perCent);
    QVERIFY(!f.child(kAbsolute));
    // Closing the absolute dialog restored its snapshot, which the per-cent dialog shows.
    QVERIFY(sameThresholds(f.state().displayThresholds, before));
    QCOMPARE(boxes(f, perCent), (QStringList{"0.02", "0.02"}));
    QVERIFY(!f.action("mnuImageDisplayThresholdsAsAbsoluteValues")->isChecked());
    QVERIFY(f.action("mnuImageDisplayThresholdsAsPerCentValues")->isChecked());

    // File Close closes it, restoring its snapshot.
    type(f, perCent, "40", "40");
    click(f, perCent, "cmdApply");
    QVERIFY(f.trigger("mnuFileClose"));
    QVERIFY(!f.child(kPerCent));
    QVERIFY(sameThresholds(f.state().displayThresholds, before));
}

void DialogsTest::initialThresholdsDialog()
{
    UiFixture f;
    QWidget* dialog = openDialog(f, "mnuFileInitialDisplayThresholds", kInitial);
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Initial Display Thresholds"));
    QVERIFY(f.action("mnuFileInitialDisplayThresholds")->isChecked());
    QCOMPARE(boxes(f, dialog), (QStringList{"0.02", "0.02"}));
    QCOMPARE(f.control<QLabel>(dialog, "lblLoThresholdValue")->text(), QStringLiteral("% Below"));
    QCOMPARE(f.control<QLabel>(dialog, "lblHiThresholdValue")->text(), QStringLiteral("% Above"));

    type(f, dialog, "60", "40");
    click(f, dialog, "cmdFileSave");
    QCOMPARE(f.messages, QStringList{QStringLiteral(
                             "Error - The sum of the Lower and Upper Threshold Values must be less than 100.00")});
    QCOMPARE(initialValues(f), QByteArray(" 1\r 0.02\r 1\r 0.02\r"));

    f.messages.clear();
    type(f, dialog, "59.99", "40");
    click(f, dialog, "cmdFileSave");
    QVERIFY(f.messages.isEmpty());
    QVERIFY(f.child(kInitial));
    QCOMPARE(boxes(f, dialog), (QStringList{"59.99", "40.00"}));
    QCOMPARE(initialValues(f), QByteArray(" 1\r 59.99\r 1\r 40.00\r"));

    // Cancel puts back, and writes, what was there when the dialog opened.
    click(f, dialog, "cmdCancel");
    QVERIFY(!f.child(kInitial));
    QVERIFY(!f.action("mnuFileInitialDisplayThresholds")->isChecked());
    QCOMPARE(initialValues(f), QByteArray(" 1\r 0.02\r 1\r 0.02\r"));
    QCOMPARE(f.state().initialThresholds.lowerText, std::string("0.02"));

    // Close keeps what was set.
    dialog = openDialog(f, "mnuFileInitialDisplayThresholds", kInitial);
    type(f, dialog, "5", "1");
    click(f, dialog, "cmdClose");
    QVERIFY(!f.child(kInitial));
    QCOMPARE(initialValues(f), QByteArray(" 1\r 5.00\r 1\r 1.00\r"));
}

void DialogsTest::initialThresholdsOffSideReachesTheNextImage()
{
    UiFixture f;
    QWidget* dialog = openDialog(f, "mnuFileInitialDisplayThresholds", kInitial);
    click(f, dialog, "optLoThresholdOff");
    QVERIFY(!f.state().initialThresholds.lowerOn);
    click(f, dialog, "cmdClose");
    QCOMPARE(initialValues(f), QByteArray(" 0\r 0.02\r 1\r 0.02\r"));

    openRampImage(f);
    const kestrova::DisplayThresholds& now = f.state().displayThresholds;
    QVERIFY(!now.lower.on);
    QCOMPARE(now.lower.percent, 0.0f);
    QCOMPARE(now.lower.intValue, 0);
    QVERIFY(now.upper.on);
    QCOMPARE(f.text("lblFN"), QStringLiteral("File name: ramp.pgm   Display Thresholds: On"));
}

void DialogsTest::informationWindowShowsTheCurrentImage()
{
    UiFixture f;
    openRampImage(f);
    QWidget* info = openDialog(f, "mnuImageInformation", "frmImageInformationfrm");
    QVERIFY(info);
    QCOMPARE(info->windowTitle(), QStringLiteral("Information"));
    QVERIFY(f.action("mnuImageInformation")->isChecked());
    const QList<QPair<const char*, QString>> values{
        {"lblvalFn", "ramp.pgm"},     {"lblvalWidth", "40"},
        {"lblvalHeight", "25"},       {"lblvalType", "Unsigned integer (16 bit)"},
        {"lblvalMin", "0"},           {"lblvalMax", "99"},
        {"lblWidthPixels", "pixels"}, {"lblFn", "File name:"},
        {"lblType", "Data type:"},
    };
    for (const auto& [name, text] : values)
        QCOMPARE(f.control<QLabel>(info, name)->text(), text);
    click(f, info, "cmdClose");
    QVERIFY(!f.child("frmImageInformationfrm"));
    QVERIFY(!f.action("mnuImageInformation")->isChecked());

    // Opened after another image, it shows that image.
    openFloatImage(f);
    info = openDialog(f, "mnuImageInformation", "frmImageInformationfrm");
    QCOMPARE(f.control<QLabel>(info, "lblvalFn")->text(), QStringLiteral("float.fits"));
    QCOMPARE(f.control<QLabel>(info, "lblvalType")->text(), QStringLiteral("Single precision floating point"));
    QCOMPARE(f.control<QLabel>(info, "lblvalMax")->text(), QStringLiteral("12.500"));
    // File Open closes it.
    QVERIFY(f.openThroughMenu(f.dataFile("ramp.pgm")));
    QVERIFY(!f.child("frmImageInformationfrm"));
}

void DialogsTest::aboutWindowShowsTheVersion()
{
    UiFixture f;
    QWidget* about = openDialog(f, "mnuHelpAbout", "frmAboutfrm");
    QVERIFY(about);
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));
    QCOMPARE(f.control<QLabel>(about, "lbl4")->text(),
             QStringLiteral("Kestrova ") + QString::fromLatin1(kestrova::kVersionText));
    QCOMPARE(QString::fromLatin1(kestrova::kVersionText), QStringLiteral("%1.%2.%3")
                                                              .arg(kestrova::kVersionMajor)
                                                              .arg(kestrova::kVersionMinor)
                                                              .arg(kestrova::kVersionRevision));
    // Closing the main window closes it.
    f.window().close();
    QVERIFY(!f.child("frmAboutfrm"));
}

void DialogsTest::printWritesOnePageAndKeepsTheSettings()
{
    UiFixture f;
    openRampImage(f);
    const QString first = f.folder() + QStringLiteral("/first.pdf");
    QList<QPair<QPageLayout::Orientation, int>> offered;
    f.printAnswer = [&](QPrinter& printer) {
        offered.append({printer.pageLayout().orientation(), printer.copyCount()});
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(first);
        printer.setPageOrientation(QPageLayout::Portrait);
        return true;
    };
    QVERIFY(f.trigger("mnuFilePrint"));
    QVERIFY(f.messages.isEmpty());
    const QByteArray pdf = uitest::readFile(first);
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(pdfPages(pdf), 1);

    // The second print offers what the first one chose.
    QVERIFY(f.trigger("mnuFilePrint"));
    QCOMPARE(offered.size(), 2);
    QCOMPARE(offered[0].first, QPageLayout::Landscape);
    QCOMPARE(offered[0].second, 1);
    QCOMPARE(offered[1].first, QPageLayout::Portrait);
}

void DialogsTest::cancelledPrintPrintsNothing()
{
    UiFixture f;
    openRampImage(f);
    const QString path = f.folder() + QStringLiteral("/never.pdf");
    f.printAnswer = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return false;
    };
    QVERIFY(f.trigger("mnuFilePrint"));
    QVERIFY(f.messages.isEmpty());
    QVERIFY(!QFileInfo::exists(path));
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
