// The histogram window and the region display window: how they open, their options and zoom
// steps, the read-out in image coordinates and the saved region.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "NumberFormat.h"
#include "UiTestSupport.h"
#include "frmAnalysisIntensityDistributionfrm.h"
#include "gDataHistogram.h"
#include "gDataHistogramPlot.h"
#include "gFormPictureBox.h"
#include "gFormWindows.h"

using uitest::UiFixture;

namespace {

// 300 x 200, values (3x + 5y) mod 256 (x, y from 0; bottom row first).
void openFrame(UiFixture& f, int width = 300, int height = 200)
{
    std::vector<int> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y * width + x)] = (3 * x + 5 * y) % 256;
    uitest::writePgm(f.dataFile("frame.pgm"), width, height, 255, pixels);
    QVERIFY(f.openThroughMenu(f.dataFile("frame.pgm")));
}

void setRegions(UiFixture& f, kestrova::RoIRect roi1, bool roi2On = false, kestrova::RoIRect roi2 = {})
{
    kestrova::RoIRecord& roi = f.state().roi;
    roi.RoI1On = true;
    roi.RoI1 = roi1;
    roi.RoI2On = roi2On;
    roi.RoI2 = roi2;
    roi.Subtract = true;
    f.window().refresh(kestrova::Change::Regions);
}

QAction* item(QWidget* window, const char* name)
{
    auto* action = window->findChild<QAction*>(QString::fromLatin1(name));
    if (!action)
        throw std::runtime_error(std::string("no item ") + name);
    return action;
}

// Columns of the plot picture that are light grey over most of the plot's height: the
// threshold markers (the log plot has no vertical grid lines).
int markerColumns(const QImage& plot)
{
    int columns = 0;
    for (int x = 0; x < plot.width(); ++x) {
        int grey = 0;
        for (int y = plot.height() / 4; y < plot.height() * 3 / 4; ++y)
            grey += plot.pixel(x, y) == qRgb(192, 192, 192) ? 1 : 0;
        columns += grey > plot.height() / 4 ? 1 : 0;
    }
    return columns;
}

}  // namespace

class RegionWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void histogramOpensLogarithmicAndOptionsRedrawOnly();
    void regionZoomOutStopsAtOnePerCent();
    void readOutShowsImageCoordinates();
    void subtractedRegionSavesAsFits();
};

void RegionWindowsTest::histogramOpensLogarithmicAndOptionsRedrawOnly()
{
    UiFixture f;
    // A flat frame has no range: refused.
    uitest::writePgm(f.dataFile("flat.pgm"), 20, 10, 255, std::vector<int>(200, 7));
    QVERIFY(f.openThroughMenu(f.dataFile("flat.pgm")));
    QVERIFY(f.trigger("mnuAnalysisIntensityDistribution"));
    QCOMPARE(f.messages, QStringList{QStringLiteral("Minimum and Maximum Equal - Analysis Not Performed")});
    QVERIFY(!f.child(kestrova::windows::kHistogram));

    openFrame(f);
    QVERIFY(f.trigger("mnuAnalysisIntensityDistribution"));
    auto* window = qobject_cast<kestrova::frmAnalysisIntensityDistributionfrm*>(f.child(kestrova::windows::kHistogram));
    QVERIFY(window);
    QVERIFY(f.action("mnuAnalysisIntensityDistribution")->isChecked());
    QVERIFY(item(window, "mnuOptionsYScaleLog")->isChecked());
    QVERIFY(item(window, "mnuOptionsDisplayThresholds")->isChecked());
    auto* plot = window->findChild<kestrova::PictureBox*>(QStringLiteral("picAxes"));
    const QImage logarithmic = plot->picture();
    QVERIFY(markerColumns(logarithmic) >= 2);

    // The options rescale the counts already held: a changed count shows without recomputing.
    kestrova::RegionHistogram& histogram = f.state().regionHistogram;
    histogram.counts[0] += 100000;
    item(window, "mnuOptionsYScaleLin")->trigger();
    QVERIFY(item(window, "mnuOptionsYScaleLin")->isChecked());
    QVERIFY(!item(window, "mnuOptionsYScaleLog")->isChecked());
    QCOMPARE(window->scales().tickFormat, std::string("0.0E+###"));
    QCOMPARE(window->scales().yMax, kestrova::histogramScalesFor(histogram, true).yMax);
    QVERIFY(plot->picture() != logarithmic);
    // The read-out of the bin under the mouse, from the plot just drawn.
    const kestrova::HistogramGeometry g =
        kestrova::histogramGeometry(plot->innerSize().width(), plot->innerSize().height());
    const QPointF at = plot->fromUser({kestrova::binX(g, 100), g.plotTop + 10.0});
    QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(plot, &move);
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblvalZ"))->text(),
             QString::fromStdString(kestrova::formatNumber(histogram.counts[100], "0.0###E+###")));

    item(window, "mnuOptionsDataThresholds")->trigger();
    QVERIFY(f.state().histogramSettings.MarkDataThresholds);
    QVERIFY(!item(window, "mnuOptionsDisplayThresholds")->isChecked());
    QCOMPARE(histogram.counts[0] >= 100000, true);

    // The values: one line a bin, through the plot outputs.
    f.fileAnswers = QStringList{f.dataFile("counts.csv")};
    item(window, "mnuFileValuesSaveAs")->trigger();
    QCOMPARE(f.fileRequests.constLast().fileName, f.dataFile("frame-Histogram"));
    const QByteArray values = uitest::readFile(f.dataFile("counts.csv"));
    QCOMPARE(values.count("\r\n"), 256);
    QVERIFY(values.startsWith("0," + QByteArray::number(histogram.counts[0]) + "\r\n"));
}

void RegionWindowsTest::regionZoomOutStopsAtOnePerCent()
{
    UiFixture f;
    openFrame(f);
    setRegions(f, {11, 21, 266, 148});  // 256 x 128: 512 x 256 at 100 %
    QVERIFY(f.trigger("mnuAnalysisRegionsofInterestDisplay"));
    QWidget* window = f.child(kestrova::windows::kRegionDisplay);
    QVERIFY(window);
    auto* picture = window->findChild<kestrova::PictureBox*>(QStringLiteral("picBox2"));
    QCOMPARE(picture->pictureSize(), QSize(512, 256));

    QStringList texts;
    for (int step = 0; step < 9; ++step) {
        item(window, "mnuImageZoomZoomOut")->trigger();
        texts << QString::fromStdString(f.state().regionDisplay.regionZoomText);
    }
    QCOMPARE(texts, (QStringList{"50.00", "25.00", "12.50", "6.00", "3.00", "1.50", "1.00", "1.00", "1.00"}));
    QVERIFY(f.messages.isEmpty());
    QVERIFY(item(window, "mnuImageZoomZoomOut")->isChecked());
    item(window, "mnuImageZoomZoomIn")->trigger();
    QCOMPARE(f.state().regionDisplay.regionZoomText, std::string("2.00"));

    // Custom: its own dialog, this window's zoom only.
    item(window, "mnuImageZoomCustom")->trigger();
    QWidget* custom = f.child(kestrova::windows::kRegionDisplayZoomCustom);
    QVERIFY(custom);
    custom->findChild<QLineEdit*>(QStringLiteral("txtZoomValue"))->setText(QStringLiteral("150"));
    custom->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(f.state().regionDisplay.regionZoomText, std::string("150"));
    QCOMPARE(picture->pictureSize(), QSize(768, 384));
    QVERIFY(item(window, "mnuImageZoomCustom")->isChecked());
    QCOMPARE(f.state().zoom.zoomText, std::string("100"));

    // A level item: its text, and its check mark alone.
    item(window, "mnuImageZoom200")->trigger();
    QCOMPARE(picture->pictureSize(), QSize(1024, 512));
    QVERIFY(item(window, "mnuImageZoom200")->isChecked());
    QVERIFY(!item(window, "mnuImageZoomCustom")->isChecked());
}

void RegionWindowsTest::readOutShowsImageCoordinates()
{
    UiFixture f;
    openFrame(f);
    setRegions(f, {11, 21, 266, 148});
    QVERIFY(f.trigger("mnuAnalysisRegionsofInterestDisplay"));
    QWidget* window = f.child(kestrova::windows::kRegionDisplay);
    auto* picture = window->findChild<kestrova::PictureBox*>(QStringLiteral("picBox2"));
    // The top left pixel of the region.
    const QPointF at = picture->fromUser({1.5, 1.5});
    QMouseEvent move(QEvent::MouseMove, at, picture->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(picture, &move);
    const auto label = [window](const char* name) {
        return window->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    QCOMPARE(label("lblvalX"), QStringLiteral("11"));
    QCOMPARE(label("lblvalY"), QStringLiteral("148"));
    QCOMPARE(label("lblvalI"), QString::number((3 * 10 + 5 * 147) % 256));
    QCOMPARE(label("lblvalW"), QStringLiteral("No Cal"));
    QCOMPARE(label("lblFN"), QStringLiteral("File name: frame.pgm   RoI1"));

    // In&vert Display: the same thresholds, every grey level turned over.
    const QImage before = window->findChild<kestrova::PictureBox*>(QStringLiteral("picBox3"))->picture();
    item(window, "mnuImageInvertDisplay")->trigger();
    QVERIFY(item(window, "mnuImageInvertDisplay")->isChecked());
    const QImage after = window->findChild<kestrova::PictureBox*>(QStringLiteral("picBox3"))->picture();
    QCOMPARE(after.size(), before.size());
    for (const QPoint p : {QPoint(0, 0), QPoint(100, 50), QPoint(255, 127)})
        QCOMPARE(qGray(after.pixel(p)), 255 - qGray(before.pixel(p)));
}

void RegionWindowsTest::subtractedRegionSavesAsFits()
{
    UiFixture f;
    openFrame(f, 40, 30);
    setRegions(f, {1, 16, 40, 30}, true, {1, 1, 40, 15});
    QVERIFY(f.trigger("mnuAnalysisRegionsofInterestDisplay"));
    QWidget* window = f.child(kestrova::windows::kRegionDisplay);
    const kestrova::RegionArray region = f.state().region;
    QVERIFY(region.intMin < 0);

    f.fileAnswers = QStringList{f.dataFile("band.fits")};
    item(window, "mnuFileSaveAsImage")->trigger();
    QCOMPARE(f.fileRequests.constLast().fileName, f.dataFile("frame-RoI"));
    QVERIFY2(f.messages.isEmpty(), qPrintable(f.messages.join(u'\n')));

    QVERIFY(f.openThroughMenu(f.dataFile("band.fits")));
    const kestrova::ImageStore& saved = f.state().image;
    QCOMPARE(saved.dataType, std::int16_t{16});
    QCOMPARE(saved.width, region.width);
    QCOMPARE(saved.height, region.height);
    QVERIFY(std::equal(region.intPixels.begin(), region.intPixels.begin() + 40 * 15, saved.intPixels.begin()));
}

QTEST_MAIN(RegionWindowsTest)
#include "RegionWindowsTest.moc"
