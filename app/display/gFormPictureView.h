#pragma once

// The picture view: a framed viewport (picBox1) in which the visible picture (picBox2) scrolls,
// the hidden full-size picture (picBox3), the two scroll bars and the two region outlines. It
// applies zoom texts against the full picture, drawing only the part of the zoomed picture that
// shows, keeps the image point under the centre (or under the mouse) in place across a zoom,
// and turns mouse positions into image pixels. The window that holds it lays it out.

#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>
#include <string>

#include "RoIRecord.h"
#include "gDataLayout.h"

class QScrollBar;
class QWidget;

namespace kestrova {

class PictureBox;
class RectangleShape;

// Where a zoom step keeps the picture: at its top left, or the image point at the viewport's
// centre, or the one under a point of the viewport.
struct ZoomAnchor {
    enum class Kind { TopLeft, Centre, Point } kind = Kind::Centre;
    QPoint point;  // in the viewport's inner area, for Point
    static ZoomAnchor topLeft() { return {Kind::TopLeft, {}}; }
    static ZoomAnchor centre() { return {Kind::Centre, {}}; }
    static ZoomAnchor at(QPoint point) { return {Kind::Point, point}; }
};

class PictureView : public QObject {
    Q_OBJECT
public:
    // The controls are built inside `area`.
    explicit PictureView(QWidget* area);

    PictureBox* viewport() const { return picBox1_; }
    QWidget* viewportInner() const { return inner_; }
    PictureBox* picture() const { return picBox2_; }
    PictureBox* fullPicture() const { return picBox3_; }
    QScrollBar* horizontalBar() const { return hsbBox1_; }
    QScrollBar* verticalBar() const { return vsbBox1_; }
    RectangleShape* outline(int region) const { return region == 1 ? shpRoI1_ : shpRoI2_; }

    // Applies a zoom per-cent text at `baseScale` to the full picture of an image of the given
    // size: sizes picBox2, gives it the image's pixel coordinates, runs `layout`, then scrolls
    // so that the anchor's image point stays in place. Refused, with the message "Error -  image
    // cannot be enlarged" and nothing changed, when the text does not read as a 16-bit number or
    // the zoomed picture's longer side would pass 2^20 screen pixels.
    bool applyZoom(const std::string& text, float baseScale, std::int32_t width, std::int32_t height,
                   const std::function<void()>& layout, ZoomAnchor anchor);

    // The zoom text that fits the picture as now shown to the viewport's height (else width).
    std::string fitZoomText(bool height) const;

    // The image pixel under a point of picBox2's coordinates (image pixels from 1, top down).
    PixelPosition pixelUnderMouse(double x, double y) const;

    // Shows a region's outline over its pixels while `on`, else hides it.
    void placeOutline(int region, bool on, const RoIRect& rect);

    // The scroll position in screen pixels (how far the picture's left and top are hidden).
    QPoint scrollPosition() const;
    void scrollTo(QPoint pixels);

signals:
    // The mouse over picBox2, in its coordinates.
    void mouseMoved(double x, double y);
    // The wheel with Ctrl held over picBox2: steps > 0 zoom in; `at` is in the viewport.
    void wheelZoom(int steps, QPoint at);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* area_;
    PictureBox* picBox1_;
    QWidget* inner_;
    PictureBox* picBox2_;
    PictureBox* picBox3_;
    QScrollBar* hsbBox1_;
    QScrollBar* vsbBox1_;
    RectangleShape* shpRoI1_;
    RectangleShape* shpRoI2_;
    std::int32_t imageWidth_ = 0;
    std::int32_t imageHeight_ = 0;
    int wheelAngle_ = 0;  // Ctrl + wheel turns not yet used up (a step is 120)
};

}  // namespace kestrova
