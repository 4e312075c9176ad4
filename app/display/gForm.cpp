#include "gForm.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <algorithm>
#include <tuple>

#include "frmMainMenufrm.h"
#include "gDataLayout.h"
#include "gFormPictureBox.h"
#include "gFormServices.h"

namespace kestrova {
namespace {

MainWindowState layoutState(const frmMainMenufrm& window) {
    if (window.startupState)
        return MainWindowState::Startup;
    if (window.closedState)
        return MainWindowState::Closed;
    return MainWindowState::Image;
}

void placeShape(frmMainMenufrm& window, RectangleShape* shape, bool on, const RoIRect& rect) {
    const bool imageShown = !window.startupState && !window.closedState;
    if (!on || !imageShown) {
        shape->hide();
        return;
    }
    const ShapePlacement place = placeRegionShape(rect.BottomLeftX, rect.BottomLeftY, rect.TopRightX, rect.TopRightY,
                                                  window.state().image.height);
    const QPointF topLeft = window.picBox2->fromUser({place.left, place.top});
    const QPointF bottomRight = window.picBox2->fromUser({place.left + place.width, place.top + place.height});
    const QRect area = QRectF(topLeft, bottomRight).toAlignedRect();
    shape->setGeometry(area);
    shape->show();
    shape->raise();
}

}  // namespace

void LayoutMainWindow(frmMainMenufrm& window) {
    const QWidget* screen = window.centralArea;
    const double twips = twipsPerPixel(screen);
    const MainWindowState state = layoutState(window);

    MainLayoutInput in;
    in.innerWidth = window.innerWidthTwips();
    in.innerHeight = window.innerHeightTwips();
    in.state = state;
    in.pictureWidth = window.picBox2->width() * twips;
    in.pictureHeight = window.picBox2->height() * twips;
    in.viewportBorder = window.picBox1->frameWidth() * twips;
    in.pictureBorder = window.picBox2->frameWidth() * twips;
    // The caption label spans the window and centres its text.
    in.fileNameWidth = in.innerWidth;
    in.valuesWidth = window.fraValues->width() * twips;

    const MainLayout layout = layoutMainWindow(in);
    if (!layout.applies)
        return;
    const auto px = [screen](double value) { return pixelsFromTwips(value, screen); };

    window.picBox1->setGeometry(px(layout.viewport.left), px(layout.viewport.top), px(layout.viewport.width),
                                px(layout.viewport.height));
    QWidget* inner = window.picBox2->parentWidget();
    inner->setGeometry(window.picBox1->contentsRect());

    if (state != MainWindowState::Image) {
        const QSize outer(px(layout.pictureWidth), px(layout.pictureHeight));
        const int border = window.picBox2->frameWidth();
        const QSize pictureSize(std::max(outer.width() - 2 * border, 0), std::max(outer.height() - 2 * border, 0));
        if (layout.paintLogo && !window.picBox3->picture().isNull())
            window.picBox2->paintPictureStretched(window.picBox3->picture(), pictureSize);
        window.picBox2->resize(outer);
    }
    window.picBox2->move(0, 0);

    const int barHeight = window.hsbBox1->sizeHint().height();
    const int barWidth = window.vsbBox1->sizeHint().width();
    window.hsbBox1->setGeometry(px(layout.horizontalBar.left), px(layout.horizontalBar.top),
                                px(layout.horizontalBar.width), barHeight);
    window.vsbBox1->setGeometry(px(layout.verticalBar.left), px(layout.verticalBar.top), barWidth,
                                px(layout.verticalBar.height));
    for (auto [bar, maximum, visible, page] :
         {std::tuple{window.hsbBox1, layout.horizontalMaximum, layout.horizontalVisible, layout.viewport.width},
          std::tuple{window.vsbBox1, layout.verticalMaximum, layout.verticalVisible, layout.viewport.height}}) {
        bar->setValue(0);
        bar->setMaximum(maximum);
        bar->setSingleStep(std::max(1, static_cast<int>(twips * 16)));
        bar->setPageStep(std::max(1, static_cast<int>(page * 0.9)));
        bar->setVisible(visible);
    }

    window.lblFN->setGeometry(px(layout.fileNameLeft), px(layout.fileNameTop), px(in.fileNameWidth),
                              window.lblFN->sizeHint().height());
    window.fraValues->move(px(layout.valuesLeft), px(layout.valuesTop));
}

void UpdateFileNameCaption(frmMainMenufrm& window) {
    const ImageStore& image = window.state().image;
    const DisplayThresholds& thresholds = window.state().displayThresholds;
    QString caption = QStringLiteral("File name: ") + QString::fromStdString(image.imageBaseName + image.imageExtension);
    if (thresholds.lower.on || thresholds.upper.on)
        caption += QStringLiteral("   Display Thresholds: On");
    window.lblFN->setText(caption);
}

void ClearZoomChecks(frmMainMenufrm& window) {
    for (QAction* item : {window.mnuImageZoom100, window.mnuImageZoom200, window.mnuImageZoom25, window.mnuImageZoom50,
                          window.mnuImageZoom75, window.mnuImageZoomCustom, window.mnuImageZoomFitToHeight,
                          window.mnuImageZoomFitToWidth, window.mnuImageZoomZoomIn, window.mnuImageZoomZoomOut})
        item->setChecked(false);
}

void DrawRoIRectangles(frmMainMenufrm& window) {
    const RoIRecord& roi = window.state().roi;
    placeShape(window, window.shpRoI1Rectangle, roi.RoI1On, roi.RoI1);
    placeShape(window, window.shpRoI2Rectangle, roi.RoI2On, roi.RoI2);
}

}  // namespace kestrova
