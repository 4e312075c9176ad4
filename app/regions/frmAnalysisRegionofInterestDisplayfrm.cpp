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
#include "gFormPlotOutputs.h"
#include "gFormServices.h"

namespace kestrova {
namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

frmAnalysisRegionofInterestDisplayfrm::frmAnalysisRegionofInterestDisplayfrm(const WindowContext& context)
    : ChildWindow(context, QStringLiteral("Region of Interest Display"))
{
    createControls();
    createMenus();
    Form_Load();
}

void frmAnalysisRegionofInterestDisplayfrm::createControls()
{
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

    fraValues_ = addValuesFrame(area_, {&lblvalX_, &lblvalY_, &lblvalW_, &lblvalI_, &lblvalG_});

    connect(view_, &PictureView::mouseMoved, this, [this](double x, double y) { picBox2_MouseMove(x, y); });
    connect(view_, &PictureView::wheelZoom, this, [this](int steps, QPoint) {
        for (int step = 0; step < std::abs(steps); ++step)
            mnuImageZoomStep(steps > 0);
    });
}

void frmAnalysisRegionofInterestDisplayfrm::createMenus()
{
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("regionMenuBar"));
    layout()->setMenuBar(bar);
    const CommandItems item{this};

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
    mnuImageZoomZoomIn_ = item(
        zoom, "mnuImageZoomZoomIn", QStringLiteral("Zoom &In"), [this] { mnuImageZoomStep(true); }, true);
    mnuImageZoomZoomOut_ = item(
        zoom, "mnuImageZoomZoomOut", QStringLiteral("Zoom &Out"), [this] { mnuImageZoomStep(false); }, true);
    mnuImageZoomFitToHeight_ = item(
        zoom, "mnuImageZoomFitToHeight", QStringLiteral("Fit to &Height"), [this] { mnuImageZoomFit(true); }, true);
    mnuImageZoomFitToWidth_ = item(
        zoom, "mnuImageZoomFitToWidth", QStringLiteral("Fit to &Width"), [this] { mnuImageZoomFit(false); }, true);
    addZoomLevels(item, zoom,
                  {&mnuImageZoom25_, &mnuImageZoom50_, &mnuImageZoom75_, &mnuImageZoom100_, &mnuImageZoom200_},
                  [this](const char* text, QAction* action) { ZoomTo(text, action); });
    mnuImageZoomCustom_ = item(
        zoom, "mnuImageZoomCustom", QStringLiteral("&Custom..."),
        [this] { services_.openWindow(QString::fromLatin1(windows::kRegionDisplayZoomCustom)); }, true);
    mnuImageInvertDisplay_ = item(
        image, "mnuImageInvertDisplay", QStringLiteral("In&vert Display"), [this] { mnuImageInvertDisplay_Click(); },
        true);
}

void frmAnalysisRegionofInterestDisplayfrm::Form_Load()
{
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

void frmAnalysisRegionofInterestDisplayfrm::unload()
{
    if (menuItem_)
        menuItem_->setChecked(false);
}

void frmAnalysisRegionofInterestDisplayfrm::loadRegionPicture()
{
    const RegionArray& region = state_.region;
    if (view_->fullPicture()->loadPicture(qs(temporaryBitmapPath(state_.workFolder))) &&
        view_->fullPicture()->picture().size() == QSize(region.width, region.height))
        return;
    // Without the temporary bitmap the window still shows this region, never another picture.
    view_->fullPicture()->setPicture(greyPicture(state_.regionDisplay.buffer, region.width, region.height));
}

// --- Zoom ------------------------------------------------------------------------------------

bool frmAnalysisRegionofInterestDisplayfrm::ApplyRegionZoom(const std::string& text)
{
    const RegionDisplayState& display = state_.regionDisplay;
    // A text that reads below 1 % is refused without a message.
    if (!regionZoomFactor(text, display.regionBaseScale))
        return false;
    return view_->applyZoom(
        text, display.regionBaseScale, state_.region.width, state_.region.height, [this] { layOut(); },
        ZoomAnchor::centre());
}

bool frmAnalysisRegionofInterestDisplayfrm::ZoomTo(const std::string& text, QAction* item)
{
    if (!ApplyRegionZoom(text))
        return false;
    state_.regionDisplay.regionZoomText = text;
    clearZoomChecks();
    item->setChecked(true);
    return true;
}

bool frmAnalysisRegionofInterestDisplayfrm::applyCustomZoom(const std::string& text)
{
    return ZoomTo(text, mnuImageZoomCustom_);
}

void frmAnalysisRegionofInterestDisplayfrm::clearZoomChecks()
{
    ClearZoomChecks({mnuImageZoom100_, mnuImageZoom200_, mnuImageZoom25_, mnuImageZoom50_, mnuImageZoom75_,
                     mnuImageZoomCustom_, mnuImageZoomFitToHeight_, mnuImageZoomFitToWidth_, mnuImageZoomZoomIn_,
                     mnuImageZoomZoomOut_});
}

void frmAnalysisRegionofInterestDisplayfrm::mnuImageZoomStep(bool in)
{
    const std::string& current = state_.regionDisplay.regionZoomText;
    const std::optional<std::string> text = in ? regionZoomInText(current) : regionZoomOutText(current);
    if (text)
        ZoomTo(*text, in ? mnuImageZoomZoomIn_ : mnuImageZoomZoomOut_);
}

void frmAnalysisRegionofInterestDisplayfrm::mnuImageZoomFit(bool height)
{
    ZoomTo("100", mnuImageZoom100_);
    const std::string text = view_->fitZoomText(height);
    ZoomTo(text, height ? mnuImageZoomFitToHeight_ : mnuImageZoomFitToWidth_);
}

void frmAnalysisRegionofInterestDisplayfrm::layOut()
{
    // The main window's image layout: the same margins, centring and scroll bars.
    LayoutMainWindow({area_, view_, lblFN_, fraValues_}, MainWindowState::Image);
}

bool frmAnalysisRegionofInterestDisplayfrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == area_ && event->type() == QEvent::Resize)
        layOut();
    return ChildWindow::eventFilter(watched, event);
}

// --- Image -----------------------------------------------------------------------------------

void frmAnalysisRegionofInterestDisplayfrm::mnuImageInvertDisplay_Click()
{
    bool& invert = state_.inversion.regionInvertDisplay;
    invert = !invert;
    mnuImageInvertDisplay_->setChecked(invert);
    Messages messages;
    RefreshRegionPicture(state_, messages);
    showMessages(messages);
    loadRegionPicture();
    ApplyRegionZoom(state_.regionDisplay.regionZoomText);
}

void frmAnalysisRegionofInterestDisplayfrm::picBox2_MouseMove(double x, double y)
{
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

void frmAnalysisRegionofInterestDisplayfrm::mnuFileSaveAsImage_Click()
{
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

void frmAnalysisRegionofInterestDisplayfrm::mnuFileSaveAsDisplay_Click()
{
    const ImageStore& image = state_.image;
    const QString path = runFileDialog(
        this,
        {FileDialogKind::Save, qs(image.imageFolder + image.imageBaseName + "-RoI-Image"), imageFileFilter(), {}});
    if (!namesAFile(path))
        return;
    // A zoomed picture too large to be held whole is null: refused with the writing message.
    SavePictureAsDisplay(state_, view_->picture()->picture(), path.toStdString());
}

void frmAnalysisRegionofInterestDisplayfrm::mnuFilePrint_Click()
{
    const ImageStore& image = state_.image;
    QImage picture = view_->picture()->picture();
    if (picture.isNull())
        picture = view_->fullPicture()->picture();
    PrintPicture(this, services_.printSettings(), picture,
                 QStringLiteral("File name: ") + qs(image.imageBaseName + image.imageExtension));
}

}  // namespace kestrova
