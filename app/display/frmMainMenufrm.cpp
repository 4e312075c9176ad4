#include "frmMainMenufrm.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <vector>

#include "KestrovaVersion.h"
#include "gDataOrg.h"
#include "gDataReadOut.h"
#include "gDataRoI.h"
#include "gFileConvert.h"
#include "gFileOrg.h"
#include "gFileSettings.h"
#include "gForm.h"
#include "gFormOrg.h"
#include "gFormPictureBox.h"
#include "gFormPictureView.h"
#include "gFormPlotOutputs.h"
#include "gFormServices.h"

namespace kestrova {
namespace {

constexpr const char* kLogoFileName = "OvrinLogo.bmp";
constexpr unsigned int kRectangleColour = 0xFF0000;  // blue, as 0xBBGGRR

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// The one local file dropped, or an empty text.
QString droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().constFirst().isLocalFile())
        return {};
    return data->urls().constFirst().toLocalFile();
}

// The logo by its relative name: the current folder, then beside the program, then the
// installed data folder. Empty when it is nowhere.
QString findLogo()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {QDir::current().filePath(kLogoFileName), QDir(programFolder).filePath(kLogoFileName),
          QDir(programFolder).filePath(QStringLiteral("../share/kestrova/") + kLogoFileName)}) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return {};
}

}  // namespace

QString openImageFileFilter()
{
    return QStringLiteral("All supported images (*.bmp *.fit *.fts *.fits *.pgm)|*.bmp *.fit *.fts *.fits *.pgm|") +
           imageFileFilter();
}

bool namesAFile(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 || (dot < 0 && !name.isEmpty());
}

QString imageFileFilter()
{
    return QStringLiteral(
        "Bitmap Files (*.bmp)|*.bmp|Flexible Image Transport System Files (*.fit)|*.fit|"
        "Flexible Image Transport System Files (*.fts)|*.fts|Flexible Image Transport System Files (*.fits)|*.fits|"
        "Portable Gray Map Files (*.pgm)|*.pgm");
}

frmMainMenufrm::frmMainMenufrm(ProgramState& state, QWidget* parent) : QMainWindow(parent), state_(state)
{
    setObjectName(QStringLiteral("frmMainMenufrm"));
    createControls();
    createMenus();
    windows_ = std::make_unique<ChildWindows>(childWindowTable(), this, state_, *this, [this](const char* name) {
        return findChild<QAction*>(QString::fromLatin1(name));
    });
    startUp();
}

frmMainMenufrm::~frmMainMenufrm() = default;

void frmMainMenufrm::createControls()
{
    centralArea_ = new QWidget(this);
    centralArea_->setObjectName(QStringLiteral("centralArea"));
    setCentralWidget(centralArea_);
    setAcceptDrops(true);
    centralArea_->installEventFilter(this);
    view_ = new PictureView(centralArea_);

    lblFN_ = new QLabel(QStringLiteral("File name: "), centralArea_);
    lblFN_->setObjectName(QStringLiteral("lblFN"));
    lblFN_->setAlignment(Qt::AlignCenter);

    fraValues_ = addValuesFrame(centralArea_, {&lblvalX_, &lblvalY_, &lblvalW_, &lblvalI_, &lblvalG_});

    connect(view_, &PictureView::mouseMoved, this, [this](double x, double y) { picBox2_MouseMove(x, y); });
    connect(view_, &PictureView::wheelZoom, this, [this](int steps, QPoint at) {
        for (int step = 0; step < std::abs(steps); ++step) {
            if (windowState_ == MainWindowState::Image)
                mnuImageZoomStep(steps > 0, ZoomAnchor::at(at));
        }
    });
    connect(view_->picture(), &PictureBox::mouseDown, this,
            [this](Qt::MouseButton button, double x, double y) { picBox2_MouseDown(button, x, y); });
    connect(view_->picture(), &PictureBox::mouseUp, this,
            [this](Qt::MouseButton, double x, double y) { picBox2_MouseUp(x, y); });
    connect(view_->picture(), &PictureBox::pictureShown, this, [this] {
        if (windowState_ == MainWindowState::Image)
            emit imageShown();
    });
}

void frmMainMenufrm::startUp()
{
    pictureFileName_ = QString::fromLatin1(kLogoFileName);

    Messages messages;
    state_.settingsFolder =
        StartSettings(settingsRootFromEnvironment(), state_.initialThresholds, state_.displayThresholds, messages);
    showMessages(messages);

    setWindowTitle(programTitle() + u' ' + QString::fromLatin1(kVersionText));
    state_.workFolder = workFolderFromEnvironment();
    state_.converterFolder = executableFolder();
    if (state_.converterFolder.empty())
        state_.converterFolder = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();

    windowState_ = MainWindowState::Startup;
    updateActions();
    resetPictureBoxes();
    resetFileNameFields();
    lblFN_->clear();
    clearReadOut();

    const QString logo = findLogo();
    if (!logo.isEmpty()) {
        view_->fullPicture()->loadPicture(logo);
        pictureFileName_ = logo;
    }

    resetImageFrame();

    // Room for a 100 % picture (1024 pixels along its longer side), within the screen.
    QSize size(1130, 860);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
}

void frmMainMenufrm::resetPictureBoxes()
{
    view_->viewport()->setAutoSize(false);
    view_->viewport()->setFixedSingleBorder(true);
    view_->picture()->setAutoSize(true);
    view_->picture()->setFixedSingleBorder(true);
    for (int region : {1, 2})
        view_->outline(region)->setBorderColour(colourFromBgr(kRectangleColour));
}

void frmMainMenufrm::resetFileNameFields()
{
    state_.image.imageFolder.clear();
    state_.image.imageBaseName = "File name: ";
    state_.image.imageExtension = ".ext";
}

void frmMainMenufrm::resetImageFrame()
{
    state_.image.width = 6144;
    state_.image.height = 4096;
    state_.zoom.zoomText = "100";
    state_.zoom.regionZoomText = "100";
    resetRegions(state_.roi, state_.resultFlags, state_.image.width, state_.image.height);
    DrawRoIRectangles(*view_, state_.roi, false);
}

void frmMainMenufrm::clearReadOut()
{
    for (QLabel* label : {lblvalX_, lblvalY_, lblvalW_, lblvalI_, lblvalG_})
        label->clear();
}

void frmMainMenufrm::showCalibrationLabel()
{
    if (state_.calibration.calibrationLoaded) {
        lblvalW_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return;
    }
    lblvalW_->setAlignment(Qt::AlignCenter);
    lblvalW_->setText(QStringLiteral("No Cal"));
}

void frmMainMenufrm::layOut()
{
    LayoutMainWindow({centralArea_, view_, lblFN_, fraValues_}, windowState_);
}

// --- Child windows ---------------------------------------------------------------------------

QWidget* frmMainMenufrm::openWindow(const QString& name)
{
    return windows_->open(name);
}

QWidget* frmMainMenufrm::openedWindow(const QString& name)
{
    return windows_->window(name);
}

bool frmMainMenufrm::isWindowOpen(const QString& name) const
{
    return windows_->isOpen(name);
}

// --- File menu -------------------------------------------------------------------------------

void frmMainMenufrm::mnuFileOpen_Click()
{
    windows_->closeOn(ClosedByFileOpen);
    const QString path =
        runFileDialog(this, {FileDialogKind::Open, QStringLiteral("*.*"), openImageFileFilter(), lastFolder_});
    // A cancelled dialog hands back nothing, or the untouched preset "*.*" (a folder whose name
    // starts with "." is no sign of it).
    if (path.isEmpty() || path.endsWith(QStringLiteral("*.*")))
        return;
    OpenImageFile(path);
}

bool frmMainMenufrm::OpenImageFile(const QString& path)
{
    return OpenImageFileName(QFile::encodeName(path).toStdString());
}

bool frmMainMenufrm::OpenImageFileName(const std::string& fileName)
{
    windows_->closeOn(ClosedByFileOpen);
    Messages messages;
    bool opened = false;
    {
        BusyCursor busy;
        opened = OpenImage(state_, fileName, messages);
    }
    showMessages(messages);
    if (!opened)
        return false;
    lastFolder_ = QFileInfo(QFile::decodeName(QByteArray::fromStdString(fileName))).absolutePath();
    messages.clear();
    PrepareLoadedImage(state_, messages);
    showMessages(messages);
    invalidate(state_.resultFlags, Change::ImageLoaded);

    windowState_ = MainWindowState::Image;
    updateActions();
    DrawRoIRectangles(*view_, state_.roi, false);
    lblFN_->clear();
    clearReadOut();
    showCalibrationLabel();
    view_->fullPicture()->hide();

    messages.clear();
    LoadInitialThresholds(state_.settingsFolder, state_.initialThresholds, state_.displayThresholds, messages);
    showMessages(messages);
    ThresholdsFromPercent(PixelSource::of(state_.image), state_.initialThresholds.lowerPercent,
                          state_.initialThresholds.upperPercent, state_.displayThresholds);
    RefreshDisplayPicture();

    clearZoomChecks();
    mnuImageZoom100_->setChecked(true);
    ApplyZoom(state_.zoom.zoomText, ZoomAnchor::topLeft());
    lblFN_->setText(fileNameCaption(state_.image, state_.displayThresholds));
    showFileNameInTitle();
    return true;
}

void frmMainMenufrm::showFileNameInTitle()
{
    if (windowState_ != MainWindowState::Image) {
        setWindowTitle(programTitle() + u' ' + QString::fromLatin1(kVersionText));
        return;
    }
    setWindowTitle(qs(state_.image.imageBaseName + state_.image.imageExtension) + QStringLiteral(" \u2013 ") +
                   programTitle());
}

void frmMainMenufrm::CloseImage()
{
    windows_->closeOn(ClosedByFileClose);
    windowState_ = MainWindowState::Closed;
    invalidate(state_.resultFlags, Change::ImageClosed);
    updateActions();
    resetPictureBoxes();
    resetFileNameFields();

    resetImageFrame();
    clearReadOut();

    view_->picture()->resetUserScale();
    view_->fullPicture()->resetUserScale();
    view_->picture()->clearPicture();
    showFileNameInTitle();
    // Lay the empty viewport out at once rather than at the next resize.
    layOut();
}

void frmMainMenufrm::mnuFileSaveAsImage_Click()
{
    const ImageStore& image = state_.image;
    const QString path = runFileDialog(
        this, {FileDialogKind::Save, qs(image.imageFolder + image.imageBaseName), imageFileFilter(), lastFolder_});
    if (!namesAFile(path))
        return;
    Messages messages;
    bool saved = false;
    {
        BusyCursor busy;
        saved = SaveImage(state_, QFile::encodeName(path).toStdString(), messages);
    }
    showMessages(messages);
    if (!saved)
        return;
    lastFolder_ = QFileInfo(path).absolutePath();
    lblFN_->setText(QStringLiteral("File name: ") + qs(image.imageBaseName + image.imageExtension));
    showFileNameInTitle();
}

void frmMainMenufrm::mnuFileSaveAsDisplay_Click()
{
    const ImageStore& image = state_.image;
    const QString path =
        runFileDialog(this, {FileDialogKind::Save, qs(image.imageFolder + image.imageBaseName + "-Image"),
                             imageFileFilter(), lastFolder_});
    if (!namesAFile(path))
        return;
    // A zoomed picture too large to be held whole is null: refused with the writing message.
    if (SavePictureAsDisplay(state_, view_->picture()->picture(), QFile::encodeName(path).toStdString()))
        lastFolder_ = QFileInfo(path).absolutePath();
}

void frmMainMenufrm::mnuFilePrint_Click()
{
    const ImageStore& image = state_.image;
    // The page takes the picture stretched: the full-size one serves when the zoomed one is too large.
    QImage picture = view_->picture()->picture();
    if (picture.isNull())
        picture = view_->fullPicture()->picture();
    PrintPicture(this, printSettings_, picture,
                 QStringLiteral("File name: ") + qs(image.imageBaseName + image.imageExtension));
}

// --- Display ---------------------------------------------------------------------------------

bool frmMainMenufrm::RefreshDisplayPicture()
{
    Messages messages;
    const bool written = RefreshDisplay(state_, messages);
    showMessages(messages);
    const QString path = qs(temporaryBitmapPath(state_.workFolder));
    if (written && view_->fullPicture()->loadPicture(path)) {
        pictureFileName_ = path;
        return true;
    }
    // Without the temporary bitmap the picture still shows the image, never the one before.
    view_->fullPicture()->setPicture(greyPicture(state_.displayBuffer, state_.image.width, state_.image.height));
    pictureFileName_.clear();
    return false;
}

bool frmMainMenufrm::ApplyZoom(const std::string& text, const ZoomAnchor& anchor)
{
    const bool applied = kestrova::ApplyZoom(
        *view_, windowState_, state_.zoom, state_.image.width, state_.image.height, text, [this] { layOut(); }, anchor);
    if (applied)
        DrawRoIRectangles(*view_, state_.roi, windowState_ == MainWindowState::Image);
    return applied;
}

void frmMainMenufrm::refresh(Change change)
{
    if (closing_)
        return;
    invalidate(state_.resultFlags, change);
    if (windowState_ != MainWindowState::Image)
        return;
    if (changesDisplay(change)) {
        RefreshDisplayPicture();
        ApplyZoom(state_.zoom.zoomText, ZoomAnchor::centre());
    } else if (change == Change::Regions) {
        DrawRoIRectangles(*view_, state_.roi, true);
    }
    windows_->reopenAfter(change);
}

void frmMainMenufrm::mnuImageInvertDisplay_Click()
{
    state_.inversion.invertDisplay = !state_.inversion.invertDisplay;
    updateActions();
    refresh(Change::DisplayInverted);
}

void frmMainMenufrm::openThresholdsDialog(const char* name)
{
    if (!state_.image.thresholdsAllowed) {
        showMessage(QStringLiteral("Minimum and Maximum Equal - Thresholds cannot be set"));
        return;
    }
    windows_->close(windows::kThresholdsAbsolute);
    windows_->close(windows::kThresholdsPerCent);
    openWindow(QString::fromLatin1(name));
}

void frmMainMenufrm::mnuAnalysisIntensityDistribution_Click()
{
    BuildRegion(state_.image, state_.roi, state_.resultFlags, state_.region);
    if (!state_.image.analysisAllowed || !state_.region.HasRange) {
        showMessage(QStringLiteral("Minimum and Maximum Equal - Analysis Not Performed"));
        return;
    }
    openWindow(QString::fromLatin1(windows::kHistogram));
}

void frmMainMenufrm::picBox2_MouseMove(double x, double y)
{
    if (windowState_ != MainWindowState::Image)
        return;
    const PixelPosition at = view_->pixelUnderMouse(x, y);
    const ReadOut values = readOutAt(state_, at.column, at.row);
    lblvalX_->setText(qs(values.column));
    lblvalY_->setText(qs(values.row));
    lblvalX_->setEnabled(true);
    lblvalY_->setEnabled(true);
    if (state_.calibration.calibrationLoaded)
        lblvalW_->setText(qs(values.wavelength));
    lblvalI_->setText(qs(values.intensity));
    lblvalG_->setText(qs(values.grey));
    dragRegion(at);
}

// --- Window events ---------------------------------------------------------------------------

bool frmMainMenufrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralArea_ && event->type() == QEvent::Resize)
        layOut();
    return QMainWindow::eventFilter(watched, event);
}

void frmMainMenufrm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMainMenufrm::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    OpenImageFile(path);
}

void frmMainMenufrm::closeEvent(QCloseEvent* event)
{
    closing_ = true;
    windows_->closeOn(ClosedByExit);
    event->accept();
}

}  // namespace kestrova
