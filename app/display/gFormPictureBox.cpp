#include "gFormPictureBox.h"

#include "gFormDrawing.h"

#include <QFile>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace kestrova {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setMouseTracking(true);
    setFixedSingleBorder(true);
}

void PictureBox::setFixedSingleBorder(bool on) {
    setFrameStyle(on ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    setLineWidth(1);
    fitToPicture();
}

void PictureBox::setAutoSize(bool on) {
    autoSize_ = on;
    fitToPicture();
}

namespace {

std::uint32_t littleEndian32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

enum class GreyRead { Read, OtherKind, Failed };

// The display bitmaps the program writes itself: 32 bits a pixel, uncompressed, bottom row
// first, every pixel grey. Read straight into an 8-bit grey picture, a quarter of the memory
// of a colour one. OtherKind (the general reader takes over) for any other kind of bitmap;
// Failed for such a bitmap that is cut short.
GreyRead readGreyBitmap(const QString& path, QImage& result) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return GreyRead::OtherKind;
    unsigned char header[54];
    if (file.read(reinterpret_cast<char*>(header), sizeof header) != static_cast<qint64>(sizeof header))
        return GreyRead::OtherKind;
    const std::uint32_t offset = littleEndian32(header + 10);
    const std::uint32_t infoSize = littleEndian32(header + 14);
    const auto width = static_cast<std::int32_t>(littleEndian32(header + 18));
    const auto height = static_cast<std::int32_t>(littleEndian32(header + 22));
    const int bits = header[28] | (header[29] << 8);
    const std::uint32_t compression = littleEndian32(header + 30);
    if (header[0] != 'B' || header[1] != 'M' || infoSize < 40 || bits != 32 || compression != 0 || width <= 0 ||
        height <= 0 || static_cast<std::int64_t>(width) * height > (std::int64_t{1} << 28))
        return GreyRead::OtherKind;
    const qint64 rowBytes = static_cast<qint64>(width) * 4;
    if (file.size() < static_cast<qint64>(offset) + rowBytes * height || !file.seek(offset))
        return GreyRead::Failed;

    QImage picture(width, height, QImage::Format_Grayscale8);
    if (picture.isNull())
        return GreyRead::Failed;
    constexpr int kRowsAtOnce = 64;
    std::vector<unsigned char> rows(static_cast<std::size_t>(rowBytes) * kRowsAtOnce);
    for (int first = 0; first < height; first += kRowsAtOnce) {
        const int count = std::min(kRowsAtOnce, height - first);
        if (file.read(reinterpret_cast<char*>(rows.data()), rowBytes * count) != rowBytes * count)
            return GreyRead::Failed;
        for (int r = 0; r < count; ++r) {
            const unsigned char* in = rows.data() + static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(r);
            uchar* out = picture.scanLine(height - 1 - (first + r));
            unsigned char notGrey = 0;
            for (int x = 0; x < width; ++x, in += 4) {
                notGrey |= static_cast<unsigned char>((in[0] ^ in[1]) | (in[0] ^ in[2]));
                out[x] = in[0];
            }
            if (notGrey)
                return GreyRead::OtherKind;
        }
    }
    result = std::move(picture);
    return GreyRead::Read;
}

}  // namespace

bool PictureBox::loadPicture(const QString& path) {
    QImage grey;
    switch (readGreyBitmap(path, grey)) {
    case GreyRead::Read:
        setPicture(std::move(grey));
        return true;
    case GreyRead::Failed:
        return false;
    case GreyRead::OtherKind:
        break;
    }
    QImageReader reader(path);
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull())
        return false;
    setPicture(std::move(image));
    return true;
}

void PictureBox::setPicture(QImage picture) {
    picture_ = std::move(picture);
    fitToPicture();
    update();
}

void PictureBox::clearPicture() {
    picture_ = QImage();
    update();
}

void PictureBox::paintPictureStretched(const QImage& source, QSize size) {
    if (source.isNull() || size.isEmpty()) {
        setPicture(QImage());
        return;
    }
    if (source.size() == size) {
        setPicture(source);
        return;
    }
    setPicture(source.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

bool PictureBox::savePicture(const QString& path) const {
    if (picture_.isNull())
        return false;
    return picture_.save(path, "BMP");
}

void PictureBox::draw(const std::function<void(DrawingTarget& target)>& drawing) {
    if (picture_.isNull()) {
        const QSize size = innerSize();
        if (size.isEmpty())
            return;
        picture_ = QImage(size, QImage::Format_RGB32);
        picture_.fill(Qt::white);
    } else if (picture_.format() != QImage::Format_RGB32) {
        picture_ = picture_.convertToFormat(QImage::Format_RGB32);
    }
    {
        DrawingTarget target(picture_, QRectF(QPointF(0, 0), QSizeF(picture_.size())));
        if (userScale_)
            target.setScale(scaleLeft_, scaleTop_, scaleWidth_, scaleHeight_);
        drawing(target);
    }
    update();
}

void PictureBox::setUserScale(double left, double top, double width, double height) {
    userScale_ = true;
    scaleLeft_ = left;
    scaleTop_ = top;
    scaleWidth_ = width != 0.0 ? width : 1.0;
    scaleHeight_ = height != 0.0 ? height : 1.0;
}

void PictureBox::resetUserScale() {
    userScale_ = false;
}

QPointF PictureBox::toUser(QPointF widgetPosition) const {
    const QRect inner = contentsRect();
    const QPointF local = widgetPosition - QPointF(inner.topLeft());
    if (!userScale_ || inner.isEmpty())
        return local;
    return {scaleLeft_ + local.x() * scaleWidth_ / inner.width(), scaleTop_ + local.y() * scaleHeight_ / inner.height()};
}

QPointF PictureBox::fromUser(QPointF userPosition) const {
    const QRect inner = contentsRect();
    if (!userScale_ || inner.isEmpty())
        return userPosition + QPointF(inner.topLeft());
    return {inner.left() + (userPosition.x() - scaleLeft_) * inner.width() / scaleWidth_,
            inner.top() + (userPosition.y() - scaleTop_) * inner.height() / scaleHeight_};
}

void PictureBox::fitToPicture() {
    if (!autoSize_ || picture_.isNull())
        return;
    const int border = frameWidth();
    resize(picture_.width() + 2 * border, picture_.height() + 2 * border);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), picture_);
    painter.end();
    emit pictureShown();
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    const QPointF at = toUser(event->position());
    emit mouseDown(event->button(), at.x(), at.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = toUser(event->position());
    emit mouseMove(event->buttons(), at.x(), at.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = toUser(event->position());
    emit mouseUp(event->button(), at.x(), at.y());
}

RectangleShape::RectangleShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void RectangleShape::setBorderColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void RectangleShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(colour_, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

QColor colourFromBgr(unsigned int bgr) {
    return QColor(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu), static_cast<int>((bgr >> 16) & 0xFFu));
}

}  // namespace kestrova
