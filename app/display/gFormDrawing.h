#pragma once

// A drawing target with a user coordinate system, offered alike by a picture box (drawing into
// its picture) and by the printer (drawing onto the page). Plots and printouts draw through it
// without knowing which of the two they draw on.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

class QPaintDevice;

namespace kestrova {

class DrawingTarget {
public:
    // Draws on `device` within `area` (device pixels); the user scale starts as device pixels
    // with (0, 0) at the area's top left.
    DrawingTarget(QPaintDevice& device, const QRectF& area);
    DrawingTarget(const DrawingTarget&) = delete;
    DrawingTarget& operator=(const DrawingTarget&) = delete;
    ~DrawingTarget();

    bool isActive() const { return painter_.isActive(); }

    // The user coordinate system: the area's left edge is `left`, its top edge `top`, and it is
    // `width` by `height` user units (negative height: y grows upwards).
    void setScale(double left, double top, double width, double height);
    double scaleLeft() const { return scaleLeft_; }
    double scaleTop() const { return scaleTop_; }
    double scaleWidth() const { return scaleWidth_; }
    double scaleHeight() const { return scaleHeight_; }

    // Text measures in user units.
    double textWidth(const QString& text) const;
    double textHeight(const QString& text) const;

    double currentX() const { return currentX_; }
    double currentY() const { return currentY_; }
    void setCurrentX(double x) { currentX_ = x; }
    void setCurrentY(double y) { currentY_ = y; }
    // Prints text with its top left at the current position, then moves to the next line.
    void print(const QString& text);

    void line(double x1, double y1, double x2, double y2);
    void rectangle(double x1, double y1, double x2, double y2);
    void setLineWidth(int pixels);
    void setColour(const QColor& colour);
    void setDashStyle(Qt::PenStyle style);

    // The whole of `picture` stretched over the user rectangle, pixel for pixel without smoothing.
    void paintPicture(const QImage& picture, double x, double y, double width, double height);

    QPointF toDevice(double x, double y) const;
    QPainter& painter() { return painter_; }

private:
    void applyPen();
    double unitsPerDeviceX() const;
    double unitsPerDeviceY() const;

    QPainter painter_;
    QRectF area_;
    double scaleLeft_ = 0.0;
    double scaleTop_ = 0.0;
    double scaleWidth_ = 1.0;
    double scaleHeight_ = 1.0;
    double currentX_ = 0.0;
    double currentY_ = 0.0;
    int lineWidth_ = 1;
    QColor colour_ = Qt::black;
    Qt::PenStyle dashStyle_ = Qt::SolidLine;
};

// The light grey of the plots' grid lines.
inline const QColor kGridColour(192, 192, 192);

// Prints `text` with its top left at (left, top).
void printAt(DrawingTarget& target, const QString& text, double left, double top);

}  // namespace kestrova
