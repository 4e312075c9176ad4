#include "frmAnalysisRegionofInterestDisplayfrm.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

#include "frmMainMenufrm.h"
#include "gDataRegionDisplay.h"
#include "gDataRoI.h"
#include "gDataZoom.h"
#include "gFileConvert.h"
#include "gFileOrg.h"
#include "gForm.h"
#include "gFormPictureBox.h"
#include "gFormPictureView.h"
#include "gFormServices.h"

namespace kestrova {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// A save-dialog answer that names a file: more than an extension after its last '/'.
bool namesAFile(const QString& path) {
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 || (dot < 0 && !name.isEmpty());
}

QMenu* addMenu(QWidget* parent, const char* name, const QString& caption) {
    auto* menu = new QMenu(caption, parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

}  // namespace

frmAnalysisRegionofInterestDisplayfrm::frmAnalysisRegionofInterestDisplayfrm(const WindowContext& context)
    : ChildWindow(context, QStringLiteral("Region of Interest Display")) {
    createControls();
    createMenus();
    Form_Load();
}

void frmAnalysisRegionofInterestDisplayfrm::createControls() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    area_ = new QWidget(this);
    area_->setObjectName(QStringLiteral("regionArea"));
    area_->installEventFilter(this);
    column->addWidget(area_);
    view_ = new PictureView(area_);
    view_->viewport()->setFixedSingleBorder(true);
    view_->picture()->setAutoSize(true);
    view_->picture()->setFixedSingleBorder(true);
    view_->outline(1)->hide();
    view_->outline(2)->hide();

    lblFN_ = new QLabel(area_);
    lblFN_->setObjectName(QStringLiteral("lblFN"));
    lblFN_->setAlignment(Qt::AlignCenter);

    fraValues_ = new QGroupBox(QStringLiteral("Values"), area_);
    fraValues_->setObjectName(QStringLiteral("fraValues"));
    auto* row = new QHBoxLayout(fraValues_);
    row->setContentsMargins(8, 2, 8, 2);
    const auto addPair = [this, row](QLabel*& value, const char* captionName, const char* valueName,
                                     const QString& text, int width) {
        row->addWidget(addLabel(fraValues_, captionName, text));
        value = addLabel(fraValues_, valueName, QString());
        value->setFixedWidth(width);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row->addWidget(value);
        row->addSpacing(10);
    };
    addPair(lblvalX_, "lblX", "lblvalX", QStringLiteral("X:"), 44);
    addPair(lblvalY_, "lblY", "lblvalY", QStringLiteral("Y:"), 44);
    addPair(lblvalW_, "lblW", "lblvalW", QStringLiteral("Wavelength:"), 60);
    addPair(lblvalI_, "lblI", "lblvalI", QStringLiteral("Intensity:"), 84);
    addPair(lblvalG_, "lblG", "lblvalG", QStringLiteral("Greyscale:"), 70);
    fraValues_->setFixedSize(fraValues_->sizeHint().width(), std::min(fraValues_->sizeHint().height(), 50));

    connect(view_, &PictureView::mouseMoved, this, [this](double x, double y) { picBox2_MouseMove(x, y); });
    connect(view_, &PictureView::wheelZoom, this, [this](int steps, QPoint) {
        for (int step = 0; step < std::abs(steps); ++step)
            mnuImageZoomStep(steps > 0);
    });
}

void frmAnalysisRegionofInterestDisplayfrm::createMenus() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("regionMenuBar"));
    layout()->setMenuBar(bar);
    // A checkable item keeps the check mark the window gives it, not the click's.
    const auto item = [this](QMenu* menu, const char* name, const QString& caption, auto handler,
                             bool checkable = false) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(checkable);
        connect(action, &QAction::triggered, this, [action, checkable, handler](bool checked) {
            if (checkable)
                action->setChecked(!checked);
            handler();
        });
        return action;
    };

    QMenu* file = addMenu(this, "mnuFile", QStringLiteral("&File"));
    bar->addMenu(file);
    QMenu* save = addMenu(file, "mnuFileSaveAs", QStringLiteral("&Save As"));
    file->addMenu(save);
    item(save, "mnuFileSaveAsImage", QStringLiteral("&Image.."), [this] { mnuFileSaveAsImage_Click(); });
    item(save, "mnuFileSaveAsDisplay", QStringLiteral("&Display..."), [this] { mnuFileSaveAsDisplay_Click(); });
    item(file, "mnuFilePrint", QStringLiteral("&Print..."), [this] { mnuFilePrint_Click(); });
    item(file, "mnuFileExit", QStringLiteral("&Exit"), [this] { close(); });

    QMenu* image = addMenu(this, "mnuImage", QStringLiteral("&Image"));
    bar->addMenu(image);
    QMenu* zoom = addMenu(image, "mnuImageZoom", QStringLiteral("&Zoom"));
    image->addMenu(zoom);
    mnuImageZoomZoomIn_ =
        item(zoom, "mnuImageZoomZoomIn", QStringLiteral("Zoom &In"), [this] { mnuImageZoomStep(true); }, true);
    mnuImageZoomZoomOut_ =
        item(zoom, "mnuImageZoomZoomOut", QStringLiteral("Zoom &Out"), [this] { mnuImageZoomStep(false); }, true);
    mnuImageZoomFitToHeight_ = item(zoom, "mnuImageZoomFitToHeight", QStringLiteral("Fit to &Height"),
                                    [this] { mnuImageZoomFit(true); }, true);
    mnuImageZoomFitToWidth_ = item(zoom, "mnuImageZoomFitToWidth", QStringLiteral("Fit to &Width"),
                                   [this] { mnuImageZoomFit(false); }, true);
    const auto level = [this, &item, zoom](const char* name, const QString& caption, const char* text,
                                           QAction*& action) {
        action = item(zoom, name, caption, [this, text, &action] { ZoomTo(text, action); }, true);
    };
    level("mnuImageZoom25", QStringLiteral("&25%"), "25", mnuImageZoom25_);
    level("mnuImageZoom50", QStringLiteral("&50%"), "50", mnuImageZoom50_);
    level("mnuImageZoom75", QStringLiteral("&75%"), "75", mnuImageZoom75_);
    level("mnuImageZoom100", QStringLiteral("&100%"), "100", mnuImageZoom100_);
    level("mnuImageZoom200", QStringLiteral("2&00%"), "200", mnuImageZoom200_);
    mnuImageZoomCustom_ = item(zoom, "mnuImageZoomCustom", QStringLiteral("&Custom..."), [this] {
        services_.openWindow(QString::fromLatin1(windows::kRegionDisplayZoomCustom));
    }, true);
    mnuImageInvertDisplay_ = item(image, "mnuImageInvertDisplay", QStringLiteral("In&vert Display"),
                                  [this] { mnuImageInvertDisplay_Click(); }, true);
}

void frmAnalysisRegionofInterestDisplayfrm::Form_Load() {
    if (menuItem_)
        menuItem_->setChecked(true);
    QSize size(720, 760);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);
    centreOnScreen(this);

    lblFN_->clear();
    for (QLabel* label : {lblvalX_, lblvalY_, lblvalW_, lblvalI_, lblvalG_})
        label->clear();
    if (state_.calibration.calibrationLoaded) {
        lblvalW_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else {
        lblvalW_->setAlignment(Qt::AlignCenter);
        lblvalW_->setText(QStringLiteral("No Cal"));
    }

    BuildRegion(state_.image, state_.roi, state_.resultFlags, state_.region);
    Messages messages;
    PrepareRegionDisplay(state_, messages);
    showMessages(messages);
    loadRegionPicture();

    clearZoomChecks();
    mnuImageInvertDisplay_->setChecked(state_.inversion.regionInvertDisplay);
    mnuImageZoom100_->setChecked(true);
    ApplyRegionZoom(state_.regionDisplay.regionZoomText);
    lblFN_->setText(qs(regionCaption(state_.image, state_.roi.RoI1On, state_.region)));
}

void frmAnalysisRegionofInterestDisplayfrm::unload() {
    if (menuItem_)
        menuItem_->setChecked(false);
}

void frmAnalysisRegionofInterestDisplayfrm::loadRegionPicture() {
    const RegionArray& region = state_.region;
    if (view_->fullPicture()->loadPicture(qs(temporaryBitmapPath(state_.workFolder))) &&
        view_->fullPicture()->picture().size() == QSize(region.width, region.height))
        return;
    // Without the temporary bitmap the window still shows this region, never another picture.
    view_->fullPicture()->setPicture(greyPicture(state_.regionDisplay.buffer, region.width, region.height));
}

// --- Zoom ------------------------------------------------------------------------------------

bool frmAnalysisRegionofInterestDisplayfrm::ApplyRegionZoom(const std::string& text) {
    const RegionDisplayState& display = state_.regionDisplay;
    // A text that reads below 1 % is refused without a message.
    if (!regionZoomFactor(text, display.regionBaseScale))
        return false;
    return view_->applyZoom(text, display.regionBaseScale, state_.region.width, state_.region.height,
                            [this] { layOut(); }, ZoomAnchor::centre());
}

bool frmAnalysisRegionofInterestDisplayfrm::ZoomTo(const std::string& text, QAction* item) {
    if (!ApplyRegionZoom(text))
        return false;
    state_.regionDisplay.regionZoomText = text;
    clearZoomChecks();
    item->setChecked(true);
    return true;
}

bool frmAnalysisRegionofInterestDisplayfrm::applyCustomZoom(const std::string& text) {
    return ZoomTo(text, mnuImageZoomCustom_);
}

void frmAnalysisRegionofInterestDisplayfrm::clearZoomChecks() {
    ClearZoomChecks({mnuImageZoom100_, mnuImageZoom200_, mnuImageZoom25_, mnuImageZoom50_, mnuImageZoom75_,
                     mnuImageZoomCustom_, mnuImageZoomFitToHeight_, mnuImageZoomFitToWidth_, mnuImageZoomZoomIn_,
                     mnuImageZoomZoomOut_});
}

void frmAnalysisRegionofInterestDisplayfrm::mnuImageZoomStep(bool in) {
    const std::string& current = state_.regionDisplay.regionZoomText;
    const std::optional<std::string> text = in ? regionZoomInText(current) : regionZoomOutText(current);
    if (text)
        ZoomTo(*text, in ? mnuImageZoomZoomIn_ : mnuImageZoomZoomOut_);
}

void frmAnalysisRegionofInterestDisplayfrm::mnuImageZoomFit(bool height) {
    ZoomTo("100", mnuImageZoom100_);
    const double twips = twipsPerPixel(area_);
    const QSize viewport = view_->viewport()->contentsRect().size();
    const QSize picture = view_->picture()->size();
    const std::string text = height ? fitZoomText(viewport.height() * twips, picture.height() * twips)
                                    : fitZoomText(viewport.width() * twips, picture.width() * twips);
    ZoomTo(text, height ? mnuImageZoomFitToHeight_ : mnuImageZoomFitToWidth_);
}

void frmAnalysisRegionofInterestDisplayfrm::layOut() {
    // The main window's image layout: the same margins, centring and scroll bars.
    LayoutMainWindow({area_, view_, lblFN_, fraValues_}, MainWindowState::Image);
}

bool frmAnalysisRegionofInterestDisplayfrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_ && event->type() == QEvent::Resize)
        layOut();
    return ChildWindow::eventFilter(watched, event);
}

// --- Image -----------------------------------------------------------------------------------

void frmAnalysisRegionofInterestDisplayfrm::mnuImageInvertDisplay_Click() {
    bool& invert = state_.inversion.regionInvertDisplay;
    invert = !invert;
    mnuImageInvertDisplay_->setChecked(invert);
    Messages messages;
    RefreshRegionPicture(state_, messages);
    showMessages(messages);
    loadRegionPicture();
    ApplyRegionZoom(state_.regionDisplay.regionZoomText);
}

void frmAnalysisRegionofInterestDisplayfrm::picBox2_MouseMove(double x, double y) {
    const RegionArray& region = state_.region;
    if (region.width <= 0 || region.height <= 0)
        return;
    const RegionReadOut values =
        regionReadOutAt(x, y, PixelSource::of(region, state_.image.isFloat), region, state_.regionDisplay.thresholds,
                        state_.calibration, state_.image.valueFormat);
    lblvalX_->setText(qs(values.column));
    lblvalY_->setText(qs(values.row));
    if (state_.calibration.calibrationLoaded)
        lblvalW_->setText(qs(values.wavelength));
    lblvalI_->setText(qs(values.intensity));
    // The threshold texts sit at the left, numbers at the right, as in the main window.
    const bool number = values.grey.empty() || (values.grey[0] != '<' && values.grey[0] != '>');
    lblvalG_->setAlignment((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    lblvalG_->setText(qs(values.grey));
}

// --- File ------------------------------------------------------------------------------------

void frmAnalysisRegionofInterestDisplayfrm::mnuFileSaveAsImage_Click() {
    const ImageStore& image = state_.image;
    const QString path = runFileDialog(
        this, {FileDialogKind::Save, qs(image.imageFolder + image.imageBaseName + "-RoI"), imageFileFilter(), {}});
    if (!namesAFile(path))
        return;
    const std::int16_t dataType = regionSaveDataType(image.dataType, state_.region, image.isFloat);
    Messages messages;
    {
        BusyCursor busy;
        SaveRegionImage(state_, state_.region, dataType, path.toStdString(), messages);
    }
    showMessages(messages);
}

void frmAnalysisRegionofInterestDisplayfrm::mnuFileSaveAsDisplay_Click() {
    const ImageStore& image = state_.image;
    const QString path = runFileDialog(this, {FileDialogKind::Save, qs(image.imageFolder + image.imageBaseName + "-RoI-Image"),
                                              imageFileFilter(), {}});
    if (!namesAFile(path))
        return;
    const QImage picture = view_->picture()->picture();
    if (picture.isNull()) {
        // The zoomed picture is too large to be held whole.
        showMessage(QStringLiteral("Error - when writing image to output file"));
        return;
    }
    const std::vector<std::uint8_t> bytes = bitmapBytes(picture);
    Messages messages;
    {
        BusyCursor busy;
        SaveDisplay(state_, BitmapInfoHeader::forPicture(picture.width(), picture.height()), bytes, path.toStdString(),
                    messages);
    }
    showMessages(messages);
}

void frmAnalysisRegionofInterestDisplayfrm::mnuFilePrint_Click() {
    const ImageStore& image = state_.image;
    QImage picture = view_->picture()->picture();
    if (picture.isNull())
        picture = view_->fullPicture()->picture();
    PrintPicture(this, services_.printSettings(), picture,
                 QStringLiteral("File name: ") + qs(image.imageBaseName + image.imageExtension));
}

}  // namespace kestrova
