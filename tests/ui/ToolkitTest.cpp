// The window services: dialog filters, the message service, twips, picture boxes (loading,
// saving, user coordinates, mouse) and the drawing target.

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

#include "UiTestSupport.h"
#include "gFormDrawing.h"
#include "gFormPictureBox.h"
#include "gFormServices.h"

using kestrova::PictureBox;

namespace {

// A 32-bit bitmap file from pixels given top row first as 0xRRGGBB.
QByteArray bitmap32(int width, int height, const std::vector<QRgb>& topFirst)
{
    QByteArray bytes(54, '\0');
    const auto put32 = [&bytes](int at, std::uint32_t value) { std::memcpy(bytes.data() + at, &value, 4); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    const auto imageSize = static_cast<std::uint32_t>(width * height * 4);
    put32(2, 54 + imageSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = 32;
    put32(34, imageSize);
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = topFirst[static_cast<std::size_t>(y * width + x)];
            bytes.append(static_cast<char>(qBlue(pixel)));
            bytes.append(static_cast<char>(qGreen(pixel)));
            bytes.append(static_cast<char>(qRed(pixel)));
            bytes.append('\0');
        }
    return bytes;
}

}  // namespace

class ToolkitTest : public QObject {
    Q_OBJECT

private slots:
    void dialogFiltersFromDescriptionAndPatternPairs();
    void messagesGoThroughTheReplaceableHandler();
    void twipsFollowTheScreenResolution();
    void greyDisplayBitmapLoadsAsGreyPicture();
    void otherBitmapsLoadThroughTheGeneralReader();
    void unreadableBitmapLeavesThePicture();
    void savedPictureIsABitmapWhateverTheName();
    void userCoordinatesAndMouseEvents();
    void drawingTargetDrawsInUserCoordinates();
    void toolkitColourNumbers();
};

void ToolkitTest::dialogFiltersFromDescriptionAndPatternPairs()
{
    QCOMPARE(kestrova::nameFiltersFromPairs(
                 QStringLiteral("Bitmap Files (*.bmp)|*.bmp|Portable Gray Map Files (*.pgm)|*.pgm")),
             QStringLiteral("Bitmap Files (*.bmp);;Portable Gray Map Files (*.pgm)"));
    QCOMPARE(kestrova::nameFiltersFromPairs(QStringLiteral("Display Settings Files (*.txt)|*.txt|All files (*.*)|*.*")),
             QStringLiteral("Display Settings Files (*.txt);;All files (*)"));
    // A description without its pattern gets it; a dangling description is dropped.
    QCOMPARE(kestrova::nameFiltersFromPairs(QStringLiteral("Images|*.fit|Alone")), QStringLiteral("Images (*.fit)"));
    // A save dialog adds the chosen filter's extension to a name typed without one.
    const std::pair<const char*, const char*> suffixes[] = {{"Bitmap Files (*.bmp)", "bmp"},
                                                            {"All supported images (*.bmp *.fit *.pgm)", "bmp"},
                                                            {"Flexible Image Transport System Files (*.fits)", "fits"},
                                                            {"All files (*)", ""},
                                                            {"Odd (*.*)", ""}};
    for (const auto& [filter, suffix] : suffixes)
        QCOMPARE(kestrova::defaultSuffix(QString::fromLatin1(filter)), QString::fromLatin1(suffix));
}

void ToolkitTest::messagesGoThroughTheReplaceableHandler()
{
    QStringList first;
    QStringList second;
    const kestrova::MessageHandler original = kestrova::setMessageHandler([&](const QString& t) { first << t; });
    kestrova::showMessages({"Error - one", "Error - two"});
    const kestrova::MessageHandler mine = kestrova::setMessageHandler([&](const QString& t) { second << t; });
    kestrova::showMessage(QStringLiteral("Error - three"));
    kestrova::setMessageHandler(original);
    QCOMPARE(first, (QStringList{"Error - one", "Error - two"}));
    QCOMPARE(second, QStringList{"Error - three"});
    QVERIFY(mine);
}

void ToolkitTest::twipsFollowTheScreenResolution()
{
    QWidget widget;
    const double perPixel = 1440.0 / widget.logicalDpiX();
    QCOMPARE(kestrova::twipsPerPixel(&widget), perPixel);
    QCOMPARE(kestrova::twipsFromPixels(10, &widget), 10 * perPixel);
    QCOMPARE(kestrova::pixelsFromTwips(100 * perPixel, &widget), 100);
    QCOMPARE(kestrova::twipsPerPixel(nullptr), 15.0);
}

void ToolkitTest::greyDisplayBitmapLoadsAsGreyPicture()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pic.Bmp"));
    // 3 x 2, top row 10 20 30, bottom row 40 50 60.
    uitest::writeText(path, bitmap32(3, 2,
                                     {qRgb(10, 10, 10), qRgb(20, 20, 20), qRgb(30, 30, 30), qRgb(40, 40, 40),
                                      qRgb(50, 50, 50), qRgb(60, 60, 60)}));
    PictureBox box;
    QVERIFY(box.loadPicture(path));
    const QImage& picture = box.picture();
    QCOMPARE(picture.size(), QSize(3, 2));
    QCOMPARE(picture.format(), QImage::Format_Grayscale8);
    QCOMPARE(picture.pixel(0, 0), qRgb(10, 10, 10));
    QCOMPARE(picture.pixel(2, 0), qRgb(30, 30, 30));
    QCOMPARE(picture.pixel(0, 1), qRgb(40, 40, 40));
    // The general reader sees the same picture.
    const QImage general(path);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            QCOMPARE(picture.pixel(x, y), general.pixel(x, y) | 0xFF000000u);
}

void ToolkitTest::otherBitmapsLoadThroughTheGeneralReader()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("colour.bmp"));
    // Grey rows first, a colour pixel in the last row read: the picture keeps its colour.
    uitest::writeText(path, bitmap32(2, 2, {qRgb(200, 10, 10), qRgb(5, 5, 5), qRgb(7, 7, 7), qRgb(9, 9, 9)}));
    PictureBox box;
    QVERIFY(box.loadPicture(path));
    QCOMPARE(box.picture().pixel(0, 0) & 0xFFFFFFu, qRgb(200, 10, 10) & 0xFFFFFFu);
    QCOMPARE(box.picture().pixel(1, 1) & 0xFFFFFFu, qRgb(9, 9, 9) & 0xFFFFFFu);
}

void ToolkitTest::unreadableBitmapLeavesThePicture()
{
    QTemporaryDir dir;
    PictureBox box;
    box.setAutoSize(true);
    QImage before(4, 4, QImage::Format_RGB32);
    before.fill(Qt::red);
    box.setPicture(before);
    // A display bitmap cut short, and a file that is no bitmap at all.
    QByteArray shortFile = bitmap32(4, 4, std::vector<QRgb>(16, qRgb(1, 1, 1)));
    shortFile.chop(10);
    uitest::writeText(dir.filePath(QStringLiteral("short.bmp")), shortFile);
    uitest::writeText(dir.filePath(QStringLiteral("text.bmp")), "hello");
    for (const QString& name : {QStringLiteral("short.bmp"), QStringLiteral("text.bmp"), QStringLiteral("none.bmp")}) {
        QVERIFY(!box.loadPicture(dir.filePath(name)));
        QCOMPARE(box.picture(), before);
    }
    QCOMPARE(box.size(), QSize(6, 6));  // 4 x 4 with its border
}

void ToolkitTest::savedPictureIsABitmapWhateverTheName()
{
    QTemporaryDir dir;
    PictureBox box;
    QImage picture(5, 3, QImage::Format_Grayscale8);
    picture.fill(77);
    box.setPicture(picture);
    const QString path = dir.filePath(QStringLiteral("shown.pgm"));
    QVERIFY(box.savePicture(path));
    QVERIFY(uitest::readFile(path).startsWith("BM"));
    const QImage back(path, "BMP");
    QCOMPARE(back.size(), QSize(5, 3));
    QCOMPARE(qGray(back.pixel(4, 2)), 77);
    PictureBox empty;
    QVERIFY(!empty.savePicture(dir.filePath(QStringLiteral("empty.bmp"))));
}

void ToolkitTest::userCoordinatesAndMouseEvents()
{
    PictureBox box;
    box.setAutoSize(true);
    QImage picture(400, 200, QImage::Format_RGB32);
    picture.fill(Qt::black);
    box.setPicture(picture);
    QCOMPARE(box.innerSize(), QSize(400, 200));
    box.setUserScale(1.0, 1.0, 4.0, 2.0);
    const QPoint inner = box.contentsRect().topLeft();
    QCOMPARE(box.toUser(inner), QPointF(1.0, 1.0));
    QCOMPARE(box.toUser(inner + QPoint(200, 100)), QPointF(3.0, 2.0));
    QCOMPARE(box.fromUser({5.0, 3.0}), QPointF(inner + QPoint(400, 200)));

    QSignalSpy down(&box, &PictureBox::mouseDown);
    QSignalSpy up(&box, &PictureBox::mouseUp);
    QSignalSpy move(&box, &PictureBox::mouseMove);
    QTest::mousePress(&box, Qt::LeftButton, {}, inner + QPoint(300, 50));
    QTest::mouseRelease(&box, Qt::RightButton, {}, inner + QPoint(100, 150));
    QMouseEvent moved(QEvent::MouseMove, QPointF(inner + QPoint(0, 0)), box.mapToGlobal(QPointF(inner)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &moved);
    QCOMPARE(down.size(), 1);
    QCOMPARE(down[0][0].value<Qt::MouseButton>(), Qt::LeftButton);
    QCOMPARE(down[0][1].toDouble(), 4.0);
    QCOMPARE(down[0][2].toDouble(), 1.5);
    QCOMPARE(up.size(), 1);
    QCOMPARE(up[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(up[0][1].toDouble(), 2.0);
    QCOMPARE(up[0][2].toDouble(), 2.5);
    QCOMPARE(move.size(), 1);
    QCOMPARE(move[0][1].toDouble(), 1.0);

    box.resetUserScale();
    QCOMPARE(box.toUser(inner + QPoint(7, 9)), QPointF(7.0, 9.0));
}

void ToolkitTest::drawingTargetDrawsInUserCoordinates()
{
    PictureBox box;
    box.resize(102, 52);                       // inner 100 x 50, no picture yet
    box.setUserScale(0.0, 10.0, 10.0, -10.0);  // y grows upwards from 0 at the bottom to 10 at the top
    double measured = 0.0;
    box.draw([&](kestrova::DrawingTarget& target) {
        QCOMPARE(target.scaleWidth(), 10.0);
        QCOMPARE(target.scaleHeight(), -10.0);
        target.setColour(Qt::black);
        target.line(0.0, 1.0, 10.0, 1.0);  // one unit above the bottom edge: 5 pixels up
        target.setColour(Qt::red);
        target.rectangle(2.0, 8.0, 4.0, 6.0);
        measured = target.textWidth(QStringLiteral("MMMM"));
        QCOMPARE(target.currentX(), 4.0);
        QCOMPARE(target.currentY(), 6.0);
    });
    const QImage& picture = box.picture();
    QCOMPARE(picture.size(), QSize(100, 50));
    QCOMPARE(picture.pixel(50, 45) & 0xFFFFFFu, 0u);       // the line
    QCOMPARE(picture.pixel(50, 25), qRgb(255, 255, 255));  // untouched: white
    QCOMPARE(picture.pixel(20, 10), qRgb(255, 0, 0));      // the rectangle's top left corner
    QCOMPARE(picture.pixel(30, 15), qRgb(255, 255, 255));  // inside the outline: not filled
    QVERIFY(measured > 0.0 && measured < 10.0);

    // The picture stretched into a user rectangle, without smoothing.
    QImage two(2, 1, QImage::Format_RGB32);
    two.setPixel(0, 0, qRgb(0, 0, 255));
    two.setPixel(1, 0, qRgb(0, 255, 0));
    box.draw([&](kestrova::DrawingTarget& target) { target.paintPicture(two, 0.0, 10.0, 10.0, -10.0); });
    QCOMPARE(box.picture().pixel(49, 20), qRgb(0, 0, 255));
    QCOMPARE(box.picture().pixel(50, 20), qRgb(0, 255, 0));
}

void ToolkitTest::toolkitColourNumbers()
{
    QCOMPARE(kestrova::colourFromBgr(0xFF0000), QColor(Qt::blue));
    QCOMPARE(kestrova::colourFromBgr(0x0000FF), QColor(Qt::red));
    QCOMPARE(kestrova::colourFromBgr(0x00FF00), QColor(Qt::green));
}

QTEST_MAIN(ToolkitTest)
#include "ToolkitTest.moc"
