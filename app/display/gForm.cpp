#include "gForm.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>
#include <tuple>

#include "gFormPictureBox.h"
#include "gFormPictureView.h"
#include "gFormServices.h"

namespace kestrova {

void LayoutMainWindow(const MainWindowParts& parts, MainWindowState state)
{
    const QWidget* screen = parts.area;
    PictureView& view = *parts.view;
    PictureBox* viewport = view.viewport();
    PictureBox* picture = view.picture();
    const double twips = twipsPerPixel(screen);

    MainLayoutInput in;
    in.innerWidth = twipsFromPixels(screen->width(), screen);
    in.innerHeight = twipsFromPixels(screen->height(), screen);
    in.state = state;
    in.pictureWidth = picture->width() * twips;
    in.pictureHeight = picture->height() * twips;
    in.viewportBorder = viewport->frameWidth() * twips;
    in.pictureBorder = picture->frameWidth() * twips;
    // The caption label spans the window and centres its text.
    in.fileNameWidth = in.innerWidth;
    in.valuesWidth = parts.fraValues->width() * twips;

    const MainLayout layout = layoutMainWindow(in);
    if (!layout.applies)
        return;
    const auto px = [screen](double value) { return pixelsFromTwips(value, screen); };

    viewport->setGeometry(px(layout.viewport.left), px(layout.viewport.top), px(layout.viewport.width),
                          px(layout.viewport.height));
    view.viewportInner()->setGeometry(viewport->contentsRect());

    if (state != MainWindowState::Image) {
        const QSize outer(px(layout.pictureWidth), px(layout.pictureHeight));
        const int border = picture->frameWidth();
        const QSize pictureSize(std::max(outer.width() - 2 * border, 0), std::max(outer.height() - 2 * border, 0));
        const QImage logo = view.fullPicture()->picture();
        if (layout.paintLogo && !logo.isNull())
            picture->paintPictureStretched(logo, pictureSize);
        picture->resize(outer);
    }
    picture->move(0, 0);

    QScrollBar* across = view.horizontalBar();
    QScrollBar* down = view.verticalBar();
    const int barHeight = across->sizeHint().height();
    const int barWidth = down->sizeHint().width();
    across->setGeometry(px(layout.horizontalBar.left), px(layout.horizontalBar.top), px(layout.horizontalBar.width),
                        barHeight);
    down->setGeometry(px(layout.verticalBar.left), px(layout.verticalBar.top), barWidth, px(layout.verticalBar.height));
    for (auto [bar, maximum, visible, page] :
         {std::tuple{across, layout.horizontalMaximum, layout.horizontalVisible, layout.viewport.width},
          std::tuple{down, layout.verticalMaximum, layout.verticalVisible, layout.viewport.height}}) {
        bar->setValue(0);
        bar->setMaximum(maximum);
        bar->setSingleStep(std::max(1, static_cast<int>(twips * 16)));
        bar->setPageStep(std::max(1, static_cast<int>(page * 0.9)));
        bar->setVisible(visible);
    }

    parts.lblFN->setGeometry(px(layout.fileNameLeft), px(layout.fileNameTop), px(in.fileNameWidth),
                             parts.lblFN->sizeHint().height());
    parts.fraValues->move(px(layout.valuesLeft), px(layout.valuesTop));
}

QString fileNameCaption(const ImageStore& image, const DisplayThresholds& thresholds)
{
    QString caption =
        QStringLiteral("File name: ") + QString::fromStdString(image.imageBaseName + image.imageExtension);
    if (thresholds.lower.on || thresholds.upper.on)
        caption += QStringLiteral("   Display Thresholds: On");
    return caption;
}

QMenu* addMenu(QWidget* parent, const char* name, const QString& caption)
{
    auto* menu = new QMenu(caption, parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* CommandItems::operator()(QMenu* menu, const char* name, const QString& caption, std::function<void()> handler,
                                  bool checkable) const
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    QObject::connect(action, &QAction::triggered, receiver,
                     [action, checkable, handler = std::move(handler)](bool checked) {
                         if (checkable)
                             action->setChecked(!checked);
                         handler();
                     });
    return action;
}

void addZoomLevels(const CommandItems& item, QMenu* zoom, const std::array<QAction**, 5>& items,
                   const std::function<void(const char* text, QAction* item)>& zoomTo)
{
    struct Level {
        const char* name;
        const char* caption;
        const char* text;
    };
    static constexpr std::array<Level, 5> kLevels{{{"mnuImageZoom25", "&25%", "25"},
                                                   {"mnuImageZoom50", "&50%", "50"},
                                                   {"mnuImageZoom75", "&75%", "75"},
                                                   {"mnuImageZoom100", "&100%", "100"},
                                                   {"mnuImageZoom200", "2&00%", "200"}}};
    for (std::size_t i = 0; i < kLevels.size(); ++i) {
        QAction** slot = items[i];
        const char* text = kLevels[i].text;
        *slot = item(
            zoom, kLevels[i].name, QString::fromLatin1(kLevels[i].caption),
            [zoomTo, text, slot] { zoomTo(text, *slot); }, true);
    }
}

QGroupBox* addValuesFrame(QWidget* parent, const std::array<QLabel**, 5>& values)
{
    auto* frame = new QGroupBox(QStringLiteral("Values"), parent);
    frame->setObjectName(QStringLiteral("fraValues"));
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(8, 2, 8, 2);
    struct Pair {
        const char* captionName;
        const char* valueName;
        const char* caption;
        int width;
    };
    static constexpr std::array<Pair, 5> kPairs{{{"lblX", "lblvalX", "X:", 44},
                                                 {"lblY", "lblvalY", "Y:", 44},
                                                 {"lblW", "lblvalW", "Wavelength:", 60},
                                                 {"lblI", "lblvalI", "Intensity:", 84},
                                                 {"lblG", "lblvalG", "Greyscale:", 70}}};
    for (std::size_t i = 0; i < kPairs.size(); ++i) {
        auto* caption = new QLabel(QString::fromLatin1(kPairs[i].caption), frame);
        caption->setObjectName(QString::fromLatin1(kPairs[i].captionName));
        QLabel* value = new QLabel(frame);
        value->setObjectName(QString::fromLatin1(kPairs[i].valueName));
        value->setFixedWidth(kPairs[i].width);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row->addWidget(caption);
        row->addWidget(value);
        row->addSpacing(10);
        *values[i] = value;
    }
    frame->setFixedSize(frame->sizeHint().width(), std::min(frame->sizeHint().height(), 50));
    return frame;
}

void ClearZoomChecks(std::initializer_list<QAction*> items)
{
    for (QAction* item : items)
        item->setChecked(false);
}

void DrawRoIRectangles(PictureView& view, const RoIRecord& roi, bool imageShown)
{
    view.placeOutline(1, imageShown && roi.RoI1On, roi.RoI1);
    view.placeOutline(2, imageShown && roi.RoI2On, roi.RoI2);
}

}  // namespace kestrova
