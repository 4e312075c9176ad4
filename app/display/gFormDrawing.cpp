#include "gFormDrawing.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPen>
#include <cmath>

namespace kestrova {

DrawingTarget::DrawingTarget(QPaintDevice& device, const QRectF& area) : area_(area)
{
    painter_.begin(&device);
    scaleWidth_ = area.width() > 0.0 ? area.width() : 1.0;
    scaleHeight_ = area.height() > 0.0 ? area.height() : 1.0;
    applyPen();
}

DrawingTarget::~DrawingTarget()
{
    if (painter_.isActive())
        painter_.end();
}

void DrawingTarget::setScale(double left, double top, double width, double height)
{
    scaleLeft_ = left;
    scaleTop_ = top;
    scaleWidth_ = width != 0.0 ? width : 1.0;
    scaleHeight_ = height != 0.0 ? height : 1.0;
}

double DrawingTarget::unitsPerDeviceX() const
{
    return area_.width() > 0.0 ? scaleWidth_ / area_.width() : 1.0;
}

double DrawingTarget::unitsPerDeviceY() const
{
    return area_.height() > 0.0 ? scaleHeight_ / area_.height() : 1.0;
}

QPointF DrawingTarget::toDevice(double x, double y) const
{
    return {area_.left() + (x - scaleLeft_) / unitsPerDeviceX(), area_.top() + (y - scaleTop_) / unitsPerDeviceY()};
}

double DrawingTarget::textWidth(const QString& text) const
{
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    return metrics.horizontalAdvance(text) * std::abs(unitsPerDeviceX());
}

double DrawingTarget::textHeight(const QString& text) const
{
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    Q_UNUSED(text);
    return metrics.height() * std::abs(unitsPerDeviceY());
}

void DrawingTarget::print(const QString& text)
{
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    const QPointF at = toDevice(currentX_, currentY_);
    painter_.drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
    currentX_ = scaleLeft_;
    currentY_ += textHeight(text) * (unitsPerDeviceY() < 0.0 ? -1.0 : 1.0);
}

void DrawingTarget::line(double x1, double y1, double x2, double y2)
{
    painter_.drawLine(toDevice(x1, y1), toDevice(x2, y2));
    currentX_ = x2;
    currentY_ = y2;
}

void DrawingTarget::rectangle(double x1, double y1, double x2, double y2)
{
    painter_.save();
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRectF(toDevice(x1, y1), toDevice(x2, y2)).normalized());
    painter_.restore();
    currentX_ = x2;
    currentY_ = y2;
}

void DrawingTarget::setLineWidth(int pixels)
{
    lineWidth_ = pixels;
    applyPen();
}

void DrawingTarget::setColour(const QColor& colour)
{
    colour_ = colour;
    applyPen();
}

void DrawingTarget::setDashStyle(Qt::PenStyle style)
{
    dashStyle_ = style;
    applyPen();
}

void DrawingTarget::paintPicture(const QImage& picture, double x, double y, double width, double height)
{
    if (picture.isNull())
        return;
    const QRectF target = QRectF(toDevice(x, y), toDevice(x + width, y + height)).normalized();
    painter_.save();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_.drawImage(target, picture, QRectF(picture.rect()));
    painter_.restore();
}

void DrawingTarget::applyPen()
{
    if (!painter_.isActive())
        return;
    QPen pen(colour_);
    pen.setWidth(lineWidth_);
    pen.setStyle(dashStyle_);
    painter_.setPen(pen);
}

void printAt(DrawingTarget& target, const QString& text, double left, double top)
{
    target.setCurrentX(left);
    target.setCurrentY(top);
    target.print(text);
}

}  // namespace kestrova
