// The projection plot drawn offscreen: the curve's steps, the ticks and the frame at their
// pixels.

#include <QImage>
#include <QTest>

#include "gFormPlot.h"

using namespace kestrova;

class PlotDrawTest : public QObject {
    Q_OBJECT

private slots:
    void curveStepsAndTicksSitAtTheirPixels();
};

namespace {

bool isBlack(const QImage& image, int x, int y)
{
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

}  // namespace

void PlotDrawTest::curveStepsAndTicksSitAtTheirPixels()
{
    // Three columns under limits 0..4 on a 400 x 300 box: the plot rectangle is 280 x 210 at
    // (60, 45); the axis runs over columns 1..21 (14 pixels a column, steps 7 each side).
    Projection projection;
    projection.first = 1;
    projection.sum = projection.mean = {1.4, 3.4, 2.6};
    ProjectionLimits limits;
    limits.meanLo = 0;
    limits.meanHi = 4;
    Messages messages;
    const PlotScale scale = SetScales(limits, 1, 3, nullptr, messages);

    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    PlotGeometry geometry;
    {
        DrawingTarget target(image, QRectF(0, 0, 400, 300));
        geometry = DrawPlot(target, {projection, scale, true, nullptr, "File name: a.fits", "Mean Intensity"}, 1, 1);
    }
    QCOMPARE(geometry.plotLeft, 60);
    QCOMPARE(geometry.half, 7);

    // Steps: 53..67 at 182, 67..81 at 76, 81..95 at 118 (values 1.4, 3.4, 2.6), then down to 255.
    const struct {
        int x, y;
        bool black;
    } pixels[] = {
        {57, 182, true},  {57, 180, false}, {57, 184, false},                                     // first step
        {78, 76, true},   {78, 74, false},  {78, 78, false},                                      // second step
        {92, 118, true},  {92, 116, false}, {92, 120, false},                                     // third step
        {67, 120, true},  {81, 100, true},  {95, 200, true},                                      // the risers
        {96, 200, false}, {66, 120, false}, {200, 255, true}, {200, 45, true}, {347, 150, true},  // the frame
        {74, 260, true},  {75, 260, false}, {326, 260, true},  // X ticks at columns 2 and 20
        {47, 150, true},  {47, 152, false},                    // the Y tick of 2.0
    };
    for (const auto& p : pixels)
        QVERIFY2(isBlack(image, p.x, p.y) == p.black, qPrintable(QStringLiteral("pixel (%1, %2)").arg(p.x).arg(p.y)));
}

QTEST_MAIN(PlotDrawTest)
#include "PlotDrawTest.moc"
