#include "gFormPictureBox.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

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

bool PictureBox::loadPicture(const QString& path) {
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
