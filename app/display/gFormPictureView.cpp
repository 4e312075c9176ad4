#include "gFormPictureView.h"

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "gDataZoom.h"
#include "gFormPictureBox.h"
#include "gFormServices.h"

namespace kestrova {

PictureView::PictureView(QWidget* area) : QObject(area), area_(area)
{
    picBox1_ = new PictureBox(area);
    picBox1_->setObjectName(QStringLiteral("picBox1"));
    // picBox2 moves inside picBox1's inner area, which clips it.
    inner_ = new QWidget(picBox1_);
    inner_->setObjectName(QStringLiteral("picBox1Inner"));
    picBox2_ = new PictureBox(inner_);
    picBox2_->setObjectName(QStringLiteral("picBox2"));
    picBox2_->installEventFilter(this);
    picBox3_ = new PictureBox(area);
    picBox3_->setObjectName(QStringLiteral("picBox3"));
    picBox3_->setFixedSingleBorder(false);
    picBox3_->setAutoSize(true);
    picBox3_->hide();

    shpRoI1_ = new RectangleShape(picBox2_);
    shpRoI1_->setObjectName(QStringLiteral("shpRoI1Rectangle"));
    shpRoI2_ = new RectangleShape(picBox2_);
    shpRoI2_->setObjectName(QStringLiteral("shpRoI2Rectangle"));

    hsbBox1_ = new QScrollBar(Qt::Horizontal, area);
    hsbBox1_->setObjectName(QStringLiteral("hsbBox1"));
    vsbBox1_ = new QScrollBar(Qt::Vertical, area);
    vsbBox1_->setObjectName(QStringLiteral("vsbBox1"));
    connect(hsbBox1_, &QScrollBar::valueChanged, this,
            [this](int value) { picBox2_->move(-pixelsFromTwips(value, area_), picBox2_->y()); });
    connect(vsbBox1_, &QScrollBar::valueChanged, this,
            [this](int value) { picBox2_->move(picBox2_->x(), -pixelsFromTwips(value, area_)); });
    connect(picBox2_, &PictureBox::mouseMove, this,
            [this](Qt::MouseButtons, double x, double y) { emit mouseMoved(x, y); });
}

bool PictureView::applyZoom(const std::string& text, float baseScale, std::int32_t width, std::int32_t height,
                            const std::function<void()>& layout, ZoomAnchor anchor)
{
    const QImage full = picBox3_->picture();
    const std::optional<std::int16_t> percent = zoomPercent(text);
    const float factor = percent ? zoomFactor(*percent, baseScale) : 0.0f;
    if (!percent || !zoomWithinLimit(full.width(), full.height(), factor)) {
        showMessage(QString::fromUtf8(kZoomRefusedMessage));
        return false;
    }
    const auto anchorIn = [&anchor](QSize view) {
        return anchor.kind == ZoomAnchor::Kind::Point ? anchor.point : QPoint(view.width() / 2, view.height() / 2);
    };
    const QPoint oldAnchor = anchorIn(inner_->size());
    const QPoint oldScroll = scrollPosition();
    const QSize oldSize = picBox2_->pictureSize();

    // At least one screen pixel each way, however small the zoom.
    const QSize size(std::max(1, static_cast<int>(std::lround(full.width() * static_cast<double>(factor)))),
                     std::max(1, static_cast<int>(std::lround(full.height() * static_cast<double>(factor)))));
    picBox2_->paintPictureStretched(full, size);
    picBox2_->setUserScale(1.0, 1.0, width, height);
    imageWidth_ = width;
    imageHeight_ = height;
    if (layout)
        layout();

    if (anchor.kind == ZoomAnchor::Kind::TopLeft || oldSize.isEmpty())
        return true;
    const QSize view = inner_->size();
    const QPoint newAnchor = anchorIn(view);
    const double left =
        scrollKeepingPoint(oldScroll.x(), oldAnchor.x(), newAnchor.x(), oldSize.width(), size.width(), view.width());
    const double top =
        scrollKeepingPoint(oldScroll.y(), oldAnchor.y(), newAnchor.y(), oldSize.height(), size.height(), view.height());
    scrollTo(QPoint(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top))));
    return true;
}

std::string PictureView::fitZoomText(bool height) const
{
    const double twips = twipsPerPixel(area_);
    const QSize viewport = picBox1_->contentsRect().size();
    const QSize picture = picBox2_->size();
    return height ? kestrova::fitZoomText(viewport.height() * twips, picture.height() * twips)
                  : kestrova::fitZoomText(viewport.width() * twips, picture.width() * twips);
}

PixelPosition PictureView::pixelUnderMouse(double x, double y) const
{
    return kestrova::pixelUnderMouse(x, y, imageWidth_, imageHeight_);
}

void PictureView::placeOutline(int region, bool on, const RoIRect& rect)
{
    RectangleShape* shape = outline(region);
    if (!on) {
        shape->hide();
        return;
    }
    const ShapePlacement place =
        placeRegionShape(rect.BottomLeftX, rect.BottomLeftY, rect.TopRightX, rect.TopRightY, imageHeight_);
    const QPointF topLeft = picBox2_->fromUser({place.left, place.top});
    const QPointF bottomRight = picBox2_->fromUser({place.left + place.width, place.top + place.height});
    shape->setGeometry(QRectF(topLeft, bottomRight).toAlignedRect());
    shape->show();
    shape->raise();
}

QPoint PictureView::scrollPosition() const
{
    return -picBox2_->pos();
}

void PictureView::scrollTo(QPoint pixels)
{
    const double twips = twipsPerPixel(area_);
    hsbBox1_->setValue(static_cast<int>(std::lround(std::max(0, pixels.x()) * twips)));
    vsbBox1_->setValue(static_cast<int>(std::lround(std::max(0, pixels.y()) * twips)));
}

bool PictureView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != picBox2_ || event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (wheel->modifiers() & Qt::ControlModifier) {
        // Zoom through whole steps of the wheel, under the mouse.
        wheelAngle_ += wheel->angleDelta().y();
        const int steps = wheelAngle_ / 120;
        wheelAngle_ -= steps * 120;
        if (steps != 0)
            emit wheelZoom(steps, picBox2_->mapTo(inner_, wheel->position().toPoint()));
        return true;
    }
    // The wheel scrolls the picture: down and up, or across with Shift held.
    QScrollBar* bar = (wheel->modifiers() & Qt::ShiftModifier) ? hsbBox1_ : vsbBox1_;
    if (!bar->isVisible())
        return false;
    QApplication::sendEvent(bar, event);
    return true;
}

}  // namespace kestrova
