#include "gFormPictureBox.h"

#include "gFormDrawing.h"

#include <QFile>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace kestrova {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent)
{
    setMouseTracking(true);
    setFixedSingleBorder(true);
}

void PictureBox::setFixedSingleBorder(bool on)
{
    setFrameStyle(on ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    setLineWidth(1);
    fitToPicture();
}

void PictureBox::setAutoSize(bool on)
{
    autoSize_ = on;
    fitToPicture();
}

namespace {

std::uint32_t littleEndian32(const unsigned char* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

enum class GreyRead { Read, OtherKind, Failed };

// The display bitmaps the program writes itself: 32 bits a pixel, uncompressed, bottom row
// first, every pixel grey. Read straight into an 8-bit grey picture, a quarter of the memory
// of a colour one. OtherKind (the general reader takes over) for any other kind of bitmap;
// Failed for such a bitmap that is cut short.
GreyRead readGreyBitmap(const QString& path, QImage& result)
{
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

bool PictureBox::loadPicture(const QString& path)
{
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

void PictureBox::setPicture(QImage picture)
{
    picture_ = std::move(picture);
    stretched_ = QSize();
    fitToPicture();
    update();
}

void PictureBox::clearPicture()
{
    picture_ = QImage();
    stretched_ = QSize();
    update();
}

QSize PictureBox::pictureSize() const
{
    return stretched_.isEmpty() ? picture_.size() : stretched_;
}

QImage PictureBox::picture() const
{
    if (stretched_.isEmpty())
        return picture_;
    if (static_cast<std::int64_t>(stretched_.width()) * stretched_.height() > kLargestRenderedPicture)
        return {};
    return renderedPart(QRect(QPoint(0, 0), stretched_));
}

void PictureBox::paintPictureStretched(const QImage& source, QSize size)
{
    if (source.isNull() || size.isEmpty()) {
        setPicture(QImage());
        return;
    }
    if (source.size() == size) {
        setPicture(source);
        return;
    }
    const bool direct = source.format() == QImage::Format_Grayscale8 || source.format() == QImage::Format_RGB32;
    picture_ = direct ? source : source.convertToFormat(QImage::Format_RGB32);
    stretched_ = size;
    fitToPicture();
    update();
}

QImage PictureBox::renderedPart(const QRect& area) const
{
    if (stretched_.isEmpty())
        return picture_.copy(area);
    const QRect part = area.intersected(QRect(QPoint(0, 0), stretched_));
    if (part.isEmpty())
        return {};
    QImage result(part.size(), picture_.format());
    if (result.isNull())
        return {};
    // Nearest pixel: stretched pixel x shows source column (x + 0.5) * source width / width.
    const auto sourceIndex = [](int at, int from, int to) {
        const auto index = static_cast<int>((static_cast<double>(at) + 0.5) * from / to);
        return std::clamp(index, 0, from - 1);
    };
    std::vector<int> columns(static_cast<std::size_t>(part.width()));
    for (int x = 0; x < part.width(); ++x)
        columns[static_cast<std::size_t>(x)] = sourceIndex(part.left() + x, picture_.width(), stretched_.width());
    const bool grey = picture_.format() == QImage::Format_Grayscale8;
    for (int y = 0; y < part.height(); ++y) {
        const int row = sourceIndex(part.top() + y, picture_.height(), stretched_.height());
        if (grey) {
            const uchar* in = picture_.constScanLine(row);
            uchar* out = result.scanLine(y);
            for (std::size_t x = 0; x < columns.size(); ++x)
                out[x] = in[columns[x]];
        } else {
            const auto* in = reinterpret_cast<const QRgb*>(picture_.constScanLine(row));
            auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
            for (std::size_t x = 0; x < columns.size(); ++x)
                out[x] = in[columns[x]];
        }
    }
    return result;
}

bool PictureBox::savePicture(const QString& path) const
{
    const QImage shown = picture();
    if (shown.isNull())
        return false;
    return shown.save(path, "BMP");
}

void PictureBox::draw(const std::function<void(DrawingTarget& target)>& drawing)
{
    if (!stretched_.isEmpty())
        setPicture(picture());
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

void PictureBox::setUserScale(double left, double top, double width, double height)
{
    userScale_ = true;
    scaleLeft_ = left;
    scaleTop_ = top;
    scaleWidth_ = width != 0.0 ? width : 1.0;
    scaleHeight_ = height != 0.0 ? height : 1.0;
}

void PictureBox::resetUserScale()
{
    userScale_ = false;
}

QPointF PictureBox::toUser(QPointF widgetPosition) const
{
    const QRect inner = contentsRect();
    const QPointF local = widgetPosition - QPointF(inner.topLeft());
    if (!userScale_ || inner.isEmpty())
        return local;
    return {scaleLeft_ + local.x() * scaleWidth_ / inner.width(),
            scaleTop_ + local.y() * scaleHeight_ / inner.height()};
}

QPointF PictureBox::fromUser(QPointF userPosition) const
{
    const QRect inner = contentsRect();
    if (!userScale_ || inner.isEmpty())
        return userPosition + QPointF(inner.topLeft());
    return {inner.left() + (userPosition.x() - scaleLeft_) * inner.width() / scaleWidth_,
            inner.top() + (userPosition.y() - scaleTop_) * inner.height() / scaleHeight_};
}

void PictureBox::fitToPicture()
{
    if (!autoSize_ || picture_.isNull())
        return;
    const int border = frameWidth();
    const QSize size = pictureSize();
    resize(size.width() + 2 * border, size.height() + 2 * border);
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (picture_.isNull())
        return;
    QPainter painter(this);
    const QPoint origin = contentsRect().topLeft();
    if (stretched_.isEmpty()) {
        painter.drawImage(origin, picture_);
    } else {
        // Only the exposed part, which the viewport clips to what shows.
        const QRect exposed = event->rect().intersected(contentsRect()).translated(-origin);
        if (!exposed.isEmpty())
            painter.drawImage(exposed.topLeft() + origin, renderedPart(exposed));
    }
    painter.end();
    emit pictureShown();
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = toUser(event->position());
    emit mouseDown(event->button(), at.x(), at.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = toUser(event->position());
    emit mouseMove(event->buttons(), at.x(), at.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = toUser(event->position());
    emit mouseUp(event->button(), at.x(), at.y());
}

RectangleShape::RectangleShape(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void RectangleShape::setBorderColour(const QColor& colour)
{
    colour_ = colour;
    update();
}

void RectangleShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QPen(colour_, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

QColor colourFromBgr(unsigned int bgr)
{
    return QColor(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu),
                  static_cast<int>((bgr >> 16) & 0xFFu));
}

std::vector<std::uint8_t> bitmapBytes(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const auto rowBytes = static_cast<std::size_t>(image.width()) * 4;
    std::vector<std::uint8_t> bytes(rowBytes * static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(bytes.data() + static_cast<std::size_t>(image.height() - 1 - y) * rowBytes, image.constScanLine(y),
                    rowBytes);
    return bytes;
}

QImage greyPicture(const std::vector<std::uint8_t>& buffer, int width, int height)
{
    if (width <= 0 || height <= 0 ||
        buffer.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4)
        return {};
    QImage picture(width, height, QImage::Format_Grayscale8);
    const std::uint8_t* in = buffer.data();
    for (int y = height - 1; y >= 0; --y) {
        uchar* out = picture.scanLine(y);
        for (int x = 0; x < width; ++x, in += 4)
            out[x] = in[0];
    }
    return picture;
}

}  // namespace kestrova
