#pragma once

// The picture box: a framed widget that holds one picture, can size itself to it, carries a
// user coordinate system and reports the mouse in that system; and the rectangle shape drawn
// over it.

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QPointF>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace kestrova {

class DrawingTarget;

class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // A fixed single border, or none.
    void setFixedSingleBorder(bool on);
    // With auto-size on the box takes the picture's size plus its border.
    void setAutoSize(bool on);
    bool autoSize() const { return autoSize_; }

    // Loads a bitmap file as the picture; false (picture unchanged) when it cannot be read.
    bool loadPicture(const QString& path);
    void setPicture(QImage picture);
    // The shown picture at its shown size. A stretched picture is drawn for the call; a null
    // picture when it would pass kLargestRenderedPicture pixels.
    QImage picture() const;
    QSize pictureSize() const;
    void clearPicture();
    // Shows the whole of `source` stretched over `size` pixels (nearest pixel, plain copy). The
    // stretched picture is never held whole: each paint draws only the part that shows.
    void paintPictureStretched(const QImage& source, QSize size);
    // The part `area` (in the stretched picture's pixels) of the shown picture.
    QImage renderedPart(const QRect& area) const;
    // Saves the shown picture as a bitmap file, whatever the name's extension.
    bool savePicture(const QString& path) const;

    static constexpr std::int64_t kLargestRenderedPicture = std::int64_t{1} << 25;

    QSize innerSize() const { return contentsRect().size(); }

    // Draws into the picture through a drawing target in the box's user coordinates; a box
    // without a picture gets a white one of its inner size first. The box then shows the result.
    void draw(const std::function<void(DrawingTarget& target)>& drawing);

    // The user coordinate system over the inner area; reset gives plain pixels from (0, 0).
    void setUserScale(double left, double top, double width, double height);
    void resetUserScale();
    QPointF toUser(QPointF widgetPosition) const;
    QPointF fromUser(QPointF userPosition) const;

signals:
    void mouseDown(Qt::MouseButton button, double x, double y);
    void mouseMove(Qt::MouseButtons buttons, double x, double y);
    void mouseUp(Qt::MouseButton button, double x, double y);
    void pictureShown();  // after a paint that showed a picture

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void fitToPicture();

    QImage picture_;   // the shown picture, or the source of a stretched one
    QSize stretched_;  // empty unless picture_ is shown stretched to this size
    bool autoSize_ = false;
    bool userScale_ = false;
    double scaleLeft_ = 0.0;
    double scaleTop_ = 0.0;
    double scaleWidth_ = 1.0;
    double scaleHeight_ = 1.0;
};

// A rectangle outline over a picture box; it lets the mouse through to the box.
class RectangleShape : public QWidget {
    Q_OBJECT
public:
    explicit RectangleShape(QWidget* parent = nullptr);
    void setBorderColour(const QColor& colour);
    QColor borderColour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_ = Qt::blue;
};

// A colour given as the toolkit's 0xBBGGRR number.
QColor colourFromBgr(unsigned int bgr);

// A picture as a 32-bit bitmap's pixels: blue, green, red, unused; bottom row first.
std::vector<std::uint8_t> bitmapBytes(const QImage& picture);

// The display buffer (4 bytes a pixel, grey in the first, bottom row first) as a grey picture;
// a null picture when the buffer is too short for the size.
QImage greyPicture(const std::vector<std::uint8_t>& buffer, int width, int height);

}  // namespace kestrova
