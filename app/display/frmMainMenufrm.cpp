#include "frmMainMenufrm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <cstring>
#include <vector>

#include "KestrovaVersion.h"
#include "frmAboutfrm.h"
#include "frmFileInitialDisplayThresholdsfrm.h"
#include "frmImageDisplayThresholdsAsAbsoluteValuesfrm.h"
#include "frmImageDisplayThresholdsAsPerCentValuesfrm.h"
#include "frmImageInformationfrm.h"
#include "frmImageZoomCustomfrm.h"
#include "gDataLayout.h"
#include "gDataOrg.h"
#include "gDataReadOut.h"
#include "gDataZoom.h"
#include "gFileConvert.h"
#include "gFileOrg.h"
#include "gFileSettings.h"
#include "gForm.h"
#include "gFormOrg.h"
#include "gFormPictureBox.h"
#include "gFormServices.h"
#include "gFormWindows.h"

namespace kestrova {
namespace {

constexpr const char* kLogoFileName = "OvrinLogo.bmp";
constexpr unsigned int kRectangleColour = 0xFF0000;  // blue, as 0xBBGGRR

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// The logo by its relative name: the current folder, then beside the program, then the
// installed data folder. Empty when it is nowhere.
QString findLogo() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {QDir::current().filePath(kLogoFileName), QDir(programFolder).filePath(kLogoFileName),
          QDir(programFolder).filePath(QStringLiteral("../share/kestrova/") + kLogoFileName)}) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return {};
}

// The shown picture as a 32-bit bitmap: blue, green, red, unused; bottom row first.
std::vector<std::uint8_t> bitmapBytes(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const auto rowBytes = static_cast<std::size_t>(image.width()) * 4;
    std::vector<std::uint8_t> bytes(rowBytes * static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(bytes.data() + static_cast<std::size_t>(image.height() - 1 - y) * rowBytes, image.constScanLine(y),
                    rowBytes);
    return bytes;
}

// The display buffer (4 bytes a pixel, grey in the first, bottom row first) as a grey picture.
QImage greyPicture(const std::vector<std::uint8_t>& buffer, int width, int height) {
    if (width <= 0 || height <= 0 ||
        buffer.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4)
        return {};
    QImage picture(width, height, QImage::Format_Grayscale8);
    const std::uint8_t* in = buffer.data();
    for (int y = height - 1; y >= 0; --y) {
        uchar* out = picture.scanLine(y);
        for (int x = 0; x < width; ++x, in += 4)
            out[x] = in[0];
    }
    return picture;
}

// The windows closed when an image is opened, in this order.
const std::vector<const char*>& windowsClosedByOpen() {
    static const std::vector<const char*> names{
        windows::kCentroid, windows::kDataThresholds, windows::kHistogram, windows::kRegionsValues,
        windows::kRegionDisplay, windows::kProfile, windows::kSpectrum, windows::kRegionDisplayZoomCustom,
        windows::kThresholdsPerCent, windows::kThresholdsAbsolute, windows::kInformation, windows::kZoomCustom};
    return names;
}

const std::vector<const char*>& windowsClosedByClose() {
    static const std::vector<const char*> names{
        windows::kCentroid, windows::kDataThresholds, windows::kHistogram, windows::kRegionsValues,
        windows::kRegionDisplay, windows::kProfile, windows::kSpectrum, windows::kRegionDisplayZoomCustom,
        windows::kInitialThresholds, windows::kThresholdsPerCent, windows::kThresholdsAbsolute};
    return names;
}

const std::vector<const char*>& windowsClosedByExit() {
    static const std::vector<const char*> names{
        windows::kAbout, windows::kCentroid, windows::kDataThresholds, windows::kHistogram, windows::kRegionsValues,
        windows::kRegionDisplay, windows::kProfile, windows::kSpectrum, windows::kRegionDisplayZoomCustom,
        windows::kInitialThresholds, windows::kThresholdsPerCent, windows::kThresholdsAbsolute,
        windows::kInformation, windows::kZoomCustom, windows::kSpectrumLimits, windows::kProfileLimits};
    return names;
}

QMenu* addMenu(QWidget* parent, QMenuBar* bar, QMenu* into, const char* name, const QString& caption) {
    QMenu* menu = new QMenu(caption, into ? static_cast<QWidget*>(into) : parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    if (bar)
        bar->addMenu(menu);
    else
        into->addMenu(menu);
    return menu;
}

}  // namespace

QString imageFileFilter() {
    return QStringLiteral(
        "Bitmap Files (*.bmp)|*.bmp|Flexible Image Transport System Files (*.fit)|*.fit|"
        "Flexible Image Transport System Files (*.fts)|*.fts|Flexible Image Transport System Files (*.fits)|*.fits|"
        "Portable Gray Map Files (*.pgm)|*.pgm");
}

frmMainMenufrm::frmMainMenufrm(ProgramState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
    setObjectName(QStringLiteral("frmMainMenufrm"));
    createControls();
    createMenus();
    createWindowFactories();
    startUp();
}

frmMainMenufrm::~frmMainMenufrm() = default;

void frmMainMenufrm::createControls() {
    centralArea = new QWidget(this);
    centralArea->setObjectName(QStringLiteral("centralArea"));
    setCentralWidget(centralArea);
    centralArea->installEventFilter(this);

    picBox1 = new PictureBox(centralArea);
    picBox1->setObjectName(QStringLiteral("picBox1"));
    // picBox2 moves inside picBox1's inner area, which clips it.
    auto* viewportInner = new QWidget(picBox1);
    viewportInner->setObjectName(QStringLiteral("picBox1Inner"));
    picBox2 = new PictureBox(viewportInner);
    picBox2->setObjectName(QStringLiteral("picBox2"));
    picBox2->installEventFilter(this);
    picBox3 = new PictureBox(centralArea);
    picBox3->setObjectName(QStringLiteral("picBox3"));
    picBox3->setFixedSingleBorder(false);
    picBox3->setAutoSize(true);
    picBox3->hide();

    shpRoI1Rectangle = new RectangleShape(picBox2);
    shpRoI1Rectangle->setObjectName(QStringLiteral("shpRoI1Rectangle"));
    shpRoI2Rectangle = new RectangleShape(picBox2);
    shpRoI2Rectangle->setObjectName(QStringLiteral("shpRoI2Rectangle"));

    hsbBox1 = new QScrollBar(Qt::Horizontal, centralArea);
    hsbBox1->setObjectName(QStringLiteral("hsbBox1"));
    vsbBox1 = new QScrollBar(Qt::Vertical, centralArea);
    vsbBox1->setObjectName(QStringLiteral("vsbBox1"));
    connect(hsbBox1, &QScrollBar::valueChanged, this,
            [this](int value) { picBox2->move(-pixelsFromTwips(value, centralArea), picBox2->y()); });
    connect(vsbBox1, &QScrollBar::valueChanged, this,
            [this](int value) { picBox2->move(picBox2->x(), -pixelsFromTwips(value, centralArea)); });

    lblFN = new QLabel(QStringLiteral("File name: "), centralArea);
    lblFN->setObjectName(QStringLiteral("lblFN"));
    lblFN->setAlignment(Qt::AlignCenter);

    fraValues = new QGroupBox(QStringLiteral("Values"), centralArea);
    fraValues->setObjectName(QStringLiteral("fraValues"));
    auto* row = new QHBoxLayout(fraValues);
    row->setContentsMargins(8, 2, 8, 2);
    const auto addPair = [this, row](QLabel*& caption, QLabel*& value, const char* captionName, const char* valueName,
                                     const QString& text, int width) {
        caption = new QLabel(text, fraValues);
        caption->setObjectName(QString::fromLatin1(captionName));
        value = new QLabel(fraValues);
        value->setObjectName(QString::fromLatin1(valueName));
        value->setFixedWidth(width);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row->addWidget(caption);
        row->addWidget(value);
        row->addSpacing(10);
    };
    addPair(lblX, lblvalX, "lblX", "lblvalX", QStringLiteral("X:"), 44);
    addPair(lblY, lblvalY, "lblY", "lblvalY", QStringLiteral("Y:"), 44);
    addPair(lblW, lblvalW, "lblW", "lblvalW", QStringLiteral("Wavelength:"), 60);
    addPair(lblI, lblvalI, "lblI", "lblvalI", QStringLiteral("Intensity:"), 84);
    addPair(lblG, lblvalG, "lblG", "lblvalG", QStringLiteral("Greyscale:"), 70);
    fraValues->setFixedSize(fraValues->sizeHint().width(), std::min(fraValues->sizeHint().height(), 50));

    connect(picBox2, &PictureBox::mouseMove, this,
            [this](Qt::MouseButtons, double x, double y) { picBox2_MouseMove(x, y); });
    connect(picBox2, &PictureBox::pictureShown, this, [this] {
        if (!startupState && !closedState)
            emit imageShown();
    });
}

void frmMainMenufrm::createMenus() {
    QMenuBar* bar = menuBar();
    // A command item; a checkable item keeps the check mark the program gives it, not the click's.
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
    const auto nothing = [] {};
    // A settings submenu; its Open and Save As items, named after it, do nothing yet.
    const auto settingsMenu = [this, &item, &nothing](QMenu* into, const char* name, const QString& caption,
                                                      QAction*& open, QAction*& saveAs) {
        QMenu* menu = addMenu(this, nullptr, into, name, caption);
        const QByteArray base(name);
        open = item(menu, QByteArray(base + "Open").constData(), QStringLiteral("&Open..."), nothing);
        saveAs = item(menu, QByteArray(base + "SaveAs").constData(), QStringLiteral("&Save As..."), nothing);
        return menu;
    };

    mnuFile = addMenu(this, bar, nullptr, "mnuFile", QStringLiteral("&File"));
    mnuFileOpen = item(mnuFile, "mnuFileOpen", QStringLiteral("&Open..."), [this] { mnuFileOpen_Click(); });
    mnuFileSave = addMenu(this, nullptr, mnuFile, "mnuFileSave", QStringLiteral("&Save As"));
    mnuFileSaveAsImage =
        item(mnuFileSave, "mnuFileSaveAsImage", QStringLiteral("&Image..."), [this] { mnuFileSaveAsImage_Click(); });
    mnuFileSaveAsDisplay = item(mnuFileSave, "mnuFileSaveAsDisplay", QStringLiteral("&Display..."),
                                [this] { mnuFileSaveAsDisplay_Click(); });
    mnuFilePrint = item(mnuFile, "mnuFilePrint", QStringLiteral("&Print..."), [this] { mnuFilePrint_Click(); });
    mnuFileInitialDisplayThresholds =
        item(mnuFile, "mnuFileInitialDisplayThresholds", QStringLiteral("Set &Initial Display Thresholds..."),
             [this] { openWindow(windows::kInitialThresholds); }, true);
    mnuFileClose = item(mnuFile, "mnuFileClose", QStringLiteral("&Close"), [this] { CloseImage(); });
    mnuFileExit = item(mnuFile, "mnuFileExit", QStringLiteral("&Exit"), [this] { close(); });

    mnuImage = addMenu(this, bar, nullptr, "mnuImage", QStringLiteral("&Image"));
    mnuImageInformation = item(mnuImage, "mnuImageInformation", QStringLiteral("&Information..."),
                               [this] { openWindow(windows::kInformation); }, true);
    mnuImageZoom = addMenu(this, nullptr, mnuImage, "mnuImageZoom", QStringLiteral("&Zoom"));
    mnuImageZoomZoomIn = item(mnuImageZoom, "mnuImageZoomZoomIn", QStringLiteral("Zoom &In"),
                              [this] { mnuImageZoomStep(true); }, true);
    mnuImageZoomZoomOut = item(mnuImageZoom, "mnuImageZoomZoomOut", QStringLiteral("Zoom &Out"),
                               [this] { mnuImageZoomStep(false); }, true);
    mnuImageZoomFitToHeight = item(mnuImageZoom, "mnuImageZoomFitToHeight", QStringLiteral("Fit to &Height"),
                                   [this] { mnuImageZoomFit(true); }, true);
    mnuImageZoomFitToWidth = item(mnuImageZoom, "mnuImageZoomFitToWidth", QStringLiteral("Fit to &Width"),
                                  [this] { mnuImageZoomFit(false); }, true);
    mnuImageZoom25 =
        item(mnuImageZoom, "mnuImageZoom25", QStringLiteral("&25%"), [this] { ZoomTo("25", mnuImageZoom25); }, true);
    mnuImageZoom50 =
        item(mnuImageZoom, "mnuImageZoom50", QStringLiteral("&50%"), [this] { ZoomTo("50", mnuImageZoom50); }, true);
    mnuImageZoom75 =
        item(mnuImageZoom, "mnuImageZoom75", QStringLiteral("&75%"), [this] { ZoomTo("75", mnuImageZoom75); }, true);
    mnuImageZoom100 = item(mnuImageZoom, "mnuImageZoom100", QStringLiteral("&100%"),
                           [this] { ZoomTo("100", mnuImageZoom100); }, true);
    mnuImageZoom200 = item(mnuImageZoom, "mnuImageZoom200", QStringLiteral("2&00%"),
                           [this] { ZoomTo("200", mnuImageZoom200); }, true);
    mnuImageZoomCustom = item(mnuImageZoom, "mnuImageZoomCustom", QStringLiteral("&Custom..."),
                              [this] { openWindow(windows::kZoomCustom); }, true);
    mnuImageInvertDisplay = item(mnuImage, "mnuImageInvertDisplay", QStringLiteral("In&vert Display"),
                                 [this] { mnuImageInvertDisplay_Click(); }, true);
    mnuImageDisplayThresholds =
        addMenu(this, nullptr, mnuImage, "mnuImageDisplayThresholds", QStringLiteral("&Set Display Thresholds"));
    mnuImageDisplayThresholdsAsPerCentValues =
        item(mnuImageDisplayThresholds, "mnuImageDisplayThresholdsAsPerCentValues", QStringLiteral("As % &Values..."),
             [this] { openThresholdsDialog(windows::kThresholdsPerCent); }, true);
    mnuImageDisplayThresholdsAsAbsoluteValues =
        item(mnuImageDisplayThresholds, "mnuImageDisplayThresholdsAsAbsoluteValues",
             QStringLiteral("As &Absolute Values..."), [this] { openThresholdsDialog(windows::kThresholdsAbsolute); },
             true);
    mnuImageDisplaySettings = settingsMenu(mnuImage, "mnuImageDisplaySettings", QStringLiteral("Display &Settings"),
                                           mnuImageDisplaySettingsOpen, mnuImageDisplaySettingsSaveAs);

    mnuAnalysis = addMenu(this, bar, nullptr, "mnuAnalysis", QStringLiteral("&Analysis"));
    mnuAnalysisXAxisProjection = item(mnuAnalysis, "mnuAnalysisXAxisProjection",
                                      QStringLiteral("&SPECTRUM (X Axis Projection)..."), nothing, true);
    mnuAnalysisYAxisProjection = item(mnuAnalysis, "mnuAnalysisYAxisProjection",
                                      QStringLiteral("&PROFILE (Y Axis Projection)..."), nothing, true);
    mnuAnalysisAreaProperties = item(mnuAnalysis, "mnuAnalysisAreaProperties",
                                     QStringLiteral("&Centroid and Area Measurement..."), nothing, true);
    mnuAnalysisInvertIntensity = item(mnuAnalysis, "mnuAnalysisInvertIntensity",
                                      QStringLiteral("&Invert (Maximum - Intensity)"), nothing, true);
    mnuAnalysisDataThresholdsAsAbsoluteValues = item(mnuAnalysis, "mnuAnalysisDataThresholdsAsAbsoluteValues",
                                                     QStringLiteral("Set Data &Thresholds..."), nothing, true);
    mnuAnalysisRegionsofInterestAsAbsoluteValues =
        item(mnuAnalysis, "mnuAnalysisRegionsofInterestAsAbsoluteValues",
             QStringLiteral("Set &Regions of Interest Size and Position..."), nothing, true);
    mnuAnalysisRegionsofInterestDisplay = item(mnuAnalysis, "mnuAnalysisRegionsofInterestDisplay",
                                               QStringLiteral("&Display Region of Interest..."), nothing, true);
    mnuAnalysisIntensityDistribution = item(mnuAnalysis, "mnuAnalysisIntensityDistribution",
                                            QStringLiteral("&Histogram (Intensity Distribution)..."), nothing, true);
    mnuAnalysisAnalysisSettings =
        settingsMenu(mnuAnalysis, "mnuAnalysisAnalysisSettings", QStringLiteral("&Analysis Settings"),
                     mnuAnalysisAnalysisSettingsOpen, mnuAnalysisAnalysisSettingsSaveAs);

    mnuHelp = addMenu(this, bar, nullptr, "mnuHelp", QStringLiteral("&Help"));
    mnuHelpAbout = item(mnuHelp, "mnuHelpAbout", QStringLiteral("&About..."), [this] { openWindow(windows::kAbout); });

    mnuFileOpen->setShortcut(QKeySequence::Open);
    mnuFilePrint->setShortcut(QKeySequence::Print);
    mnuFileClose->setShortcut(QKeySequence::Close);
    mnuFileExit->setShortcut(QKeySequence::Quit);
    mnuImageZoomZoomIn->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    mnuImageZoomZoomOut->setShortcut(QKeySequence::ZoomOut);
}

void frmMainMenufrm::createWindowFactories() {
    registerWindow(windows::kInitialThresholds, [this] { return new frmFileInitialDisplayThresholdsfrm(*this); });
    registerWindow(windows::kInformation, [this] { return new frmImageInformationfrm(*this); });
    registerWindow(windows::kZoomCustom, [this] { return new frmImageZoomCustomfrm(*this); });
    registerWindow(windows::kThresholdsPerCent, [this] { return new frmImageDisplayThresholdsAsPerCentValuesfrm(*this); });
    registerWindow(windows::kThresholdsAbsolute,
                   [this] { return new frmImageDisplayThresholdsAsAbsoluteValuesfrm(*this); });
    registerWindow(windows::kAbout, [this] { return new frmAboutfrm(*this); });
}

void frmMainMenufrm::startUp() {
    versionText = QString::fromLatin1(kVersionText);
    pictureFileName = QString::fromLatin1(kLogoFileName);

    Messages messages;
    state_.settingsFolder =
        StartSettings(settingsRootFromEnvironment(), state_.initialThresholds, state_.displayThresholds, messages);
    showMessages(messages);

    setWindowTitle(programTitle() + u' ' + versionText);
    state_.workFolder = workFolderFromEnvironment();
    state_.converterFolder = executableFolder();
    if (state_.converterFolder.empty())
        state_.converterFolder = QCoreApplication::applicationDirPath().toStdString();

    setImageMenusEnabled(false);
    mnuFileClose->setEnabled(false);
    resetPictureBoxes();
    resetFileNameFields();
    lblFN->clear();
    clearReadOut();

    startupState = true;
    closedState = false;
    const QString logo = findLogo();
    if (!logo.isEmpty()) {
        picBox3->loadPicture(logo);
        pictureFileName = logo;
    }

    resetImageFrame();

    // Room for a 100 % picture (1024 pixels along its longer side), within the screen.
    QSize size(1130, 860);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
}

void frmMainMenufrm::setImageMenusEnabled(bool enabled) {
    mnuFileSave->menuAction()->setEnabled(enabled);
    mnuFilePrint->setEnabled(enabled);
    mnuImage->menuAction()->setEnabled(enabled);
    mnuAnalysis->menuAction()->setEnabled(enabled);
}

void frmMainMenufrm::resetPictureBoxes() {
    picBox1->setAutoSize(false);
    picBox1->setFixedSingleBorder(true);
    picBox2->setAutoSize(true);
    picBox2->setFixedSingleBorder(true);
    for (RectangleShape* shape : {shpRoI1Rectangle, shpRoI2Rectangle})
        shape->setBorderColour(colourFromBgr(kRectangleColour));
}

void frmMainMenufrm::resetFileNameFields() {
    state_.image.imageFolder.clear();
    state_.image.imageBaseName = "File name: ";
    state_.image.imageExtension = ".ext";
}

void frmMainMenufrm::resetImageFrame() {
    state_.image.width = 6144;
    state_.image.height = 4096;
    state_.zoom.zoomText = "100";
    state_.zoom.regionZoomText = "100";
    resetRegions(state_.roi, state_.resultFlags, state_.image.width, state_.image.height);
    shpRoI1Rectangle->hide();
    shpRoI2Rectangle->hide();
}

void frmMainMenufrm::clearReadOut() {
    for (QLabel* label : {lblvalX, lblvalY, lblvalW, lblvalI, lblvalG})
        label->clear();
}

void frmMainMenufrm::showCalibrationLabel() {
    if (state_.calibration.calibrationLoaded) {
        lblvalW->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return;
    }
    lblvalW->setAlignment(Qt::AlignCenter);
    lblvalW->setText(QStringLiteral("No Cal"));
}

double frmMainMenufrm::innerWidthTwips() const {
    return twipsFromPixels(centralArea->width(), centralArea);
}

double frmMainMenufrm::innerHeightTwips() const {
    return twipsFromPixels(centralArea->height(), centralArea);
}

// --- Child windows ---------------------------------------------------------------------------

void frmMainMenufrm::registerWindow(const QString& name, WindowFactory factory) {
    factories_[name] = std::move(factory);
}

bool frmMainMenufrm::isWindowOpen(const QString& name) const {
    const auto found = windows_.find(name);
    return found != windows_.end() && found->second && found->second->isVisible();
}

QWidget* frmMainMenufrm::openWindow(const QString& name) {
    closeWindow(name);
    const auto factory = factories_.find(name);
    if (factory == factories_.end())
        return nullptr;
    QWidget* window = factory->second();
    if (!window)
        return nullptr;
    window->setObjectName(name);
    window->setAttribute(Qt::WA_DeleteOnClose);
    windows_[name] = window;
    window->show();
    return window;
}

void frmMainMenufrm::closeWindow(const QString& name) {
    if (!isWindowOpen(name))
        return;
    QPointer<QWidget> window = windows_[name];
    window->close();
}

void frmMainMenufrm::reopenWindowIfOpen(const QString& name) {
    if (isWindowOpen(name))
        openWindow(name);
}

void frmMainMenufrm::closeImageWindows(bool includeSettingsDialogs) {
    for (const char* name : includeSettingsDialogs ? windowsClosedByClose() : windowsClosedByOpen())
        closeWindow(QString::fromLatin1(name));
}

// --- File menu -------------------------------------------------------------------------------

void frmMainMenufrm::mnuFileOpen_Click() {
    closeImageWindows(false);
    const QString path = runFileDialog(this, {FileDialogKind::Open, QStringLiteral("*.*"), imageFileFilter()});
    // A cancelled dialog hands back nothing, or the preset "*.*".
    if (path.isEmpty() || (path.size() > 1 && path[1] == u'.'))
        return;
    OpenImageFile(path);
}

bool frmMainMenufrm::OpenImageFile(const QString& path) {
    closeImageWindows(false);
    Messages messages;
    bool opened = false;
    {
        BusyCursor busy;
        opened = OpenImage(state_, path.toStdString(), messages);
    }
    showMessages(messages);
    if (!opened)
        return false;
    messages.clear();
    PrepareLoadedImage(state_, messages);
    showMessages(messages);
    mnuImageInvertDisplay->setChecked(false);
    mnuAnalysisInvertIntensity->setChecked(false);
    shpRoI1Rectangle->hide();
    shpRoI2Rectangle->hide();

    setImageMenusEnabled(true);
    mnuFileClose->setEnabled(true);
    lblFN->clear();
    clearReadOut();
    showCalibrationLabel();

    startupState = false;
    closedState = false;
    picBox3->hide();

    messages.clear();
    LoadInitialThresholds(state_.settingsFolder, state_.initialThresholds, state_.displayThresholds, messages);
    showMessages(messages);
    ThresholdsFromPercent(PixelSource::of(state_.image), state_.initialThresholds.lowerPercent,
                          state_.initialThresholds.upperPercent, state_.displayThresholds);
    RefreshDisplayPicture();

    ClearZoomChecks(*this);
    mnuImageZoom100->setChecked(true);
    ApplyZoom(*this, state_.zoom.zoomText);
    UpdateFileNameCaption(*this);
    return true;
}

void frmMainMenufrm::CloseImage() {
    closeImageWindows(true);
    setImageMenusEnabled(false);
    resetPictureBoxes();
    resetFileNameFields();

    resetImageFrame();
    clearReadOut();

    closedState = true;
    picBox2->resetUserScale();
    picBox3->resetUserScale();
    picBox2->clearPicture();
    // Lay the empty viewport out at once rather than at the next resize.
    LayoutMainWindow(*this);
}

void frmMainMenufrm::mnuFileSaveAsImage_Click() {
    const ImageStore& image = state_.image;
    const QString path =
        runFileDialog(this, {FileDialogKind::Save, qs(image.imageFolder + image.imageBaseName), imageFileFilter()});
    if (path.isEmpty())
        return;
    Messages messages;
    bool saved = false;
    {
        BusyCursor busy;
        saved = SaveImage(state_, path.toStdString(), messages);
    }
    showMessages(messages);
    if (saved)
        lblFN->setText(QStringLiteral("File name: ") + qs(image.imageBaseName + image.imageExtension));
}

void frmMainMenufrm::mnuFileSaveAsDisplay_Click() {
    const ImageStore& image = state_.image;
    const QString path = runFileDialog(
        this, {FileDialogKind::Save, qs(image.imageFolder + image.imageBaseName + "-Image"), imageFileFilter()});
    if (path.isEmpty())
        return;
    const QImage& picture = picBox2->picture();
    const std::vector<std::uint8_t> bytes = bitmapBytes(picture);
    Messages messages;
    {
        BusyCursor busy;
        SaveDisplay(state_, BitmapInfoHeader::forPicture(picture.width(), picture.height()), bytes,
                    path.toStdString(), messages);
    }
    showMessages(messages);
}

void frmMainMenufrm::mnuFilePrint_Click() {
    const ImageStore& image = state_.image;
    PrintPicture(this, printSettings, picBox2->picture(),
                 QStringLiteral("File name: ") + qs(image.imageBaseName + image.imageExtension));
}

// --- Display ---------------------------------------------------------------------------------

bool frmMainMenufrm::RefreshDisplayPicture() {
    Messages messages;
    const bool written = RefreshDisplay(state_, messages);
    showMessages(messages);
    const QString path = qs(temporaryBitmapPath(state_.workFolder));
    if (written && picBox3->loadPicture(path)) {
        pictureFileName = path;
        return true;
    }
    // Without the temporary bitmap the picture still shows the image, never the one before.
    picBox3->setPicture(greyPicture(state_.displayBuffer, state_.image.width, state_.image.height));
    pictureFileName.clear();
    return false;
}

void frmMainMenufrm::ApplyDisplayChange() {
    if (closing_ || startupState || closedState)
        return;
    RefreshDisplayPicture();
    ApplyZoom(*this, state_.zoom.zoomText);
    reopenWindowIfOpen(windows::kHistogram);
}

bool frmMainMenufrm::ZoomTo(const std::string& text, QAction* item) {
    if (!ApplyZoom(*this, text))
        return false;
    state_.zoom.zoomText = text;
    ClearZoomChecks(*this);
    item->setChecked(true);
    return true;
}

void frmMainMenufrm::mnuImageZoomStep(bool in) {
    const std::string text = in ? zoomInText(state_.zoom.zoomText) : zoomOutText(state_.zoom.zoomText);
    ZoomTo(text, in ? mnuImageZoomZoomIn : mnuImageZoomZoomOut);
}

void frmMainMenufrm::mnuImageZoomFit(bool height) {
    ZoomTo("100", mnuImageZoom100);
    const double twips = twipsPerPixel(centralArea);
    const QSize viewport = picBox1->contentsRect().size();
    const std::string text = height ? fitZoomText(viewport.height() * twips, picBox2->height() * twips)
                                    : fitZoomText(viewport.width() * twips, picBox2->width() * twips);
    ZoomTo(text, height ? mnuImageZoomFitToHeight : mnuImageZoomFitToWidth);
}

void frmMainMenufrm::mnuImageInvertDisplay_Click() {
    state_.inversion.invertDisplay = !state_.inversion.invertDisplay;
    mnuImageInvertDisplay->setChecked(state_.inversion.invertDisplay);
    RefreshDisplayPicture();
    ApplyZoom(*this, state_.zoom.zoomText);
}

void frmMainMenufrm::openThresholdsDialog(const char* name) {
    if (!state_.image.thresholdsAllowed) {
        showMessage(QStringLiteral("Minimum and Maximum Equal - Thresholds cannot be set"));
        return;
    }
    closeWindow(windows::kThresholdsAbsolute);
    closeWindow(windows::kThresholdsPerCent);
    openWindow(QString::fromLatin1(name));
}

void frmMainMenufrm::picBox2_MouseMove(double x, double y) {
    if (startupState || closedState)
        return;
    const ImageStore& image = state_.image;
    const PixelPosition at = pixelUnderMouse(x, y, image.width, image.height);
    const ReadOut values = readOutAt(state_, at.column, at.row);
    lblvalX->setText(qs(values.column));
    lblvalY->setText(qs(values.row));
    lblvalX->setEnabled(true);
    lblvalY->setEnabled(true);
    if (state_.calibration.calibrationLoaded)
        lblvalW->setText(qs(values.wavelength));
    lblvalI->setText(qs(values.intensity));
    lblvalG->setText(qs(values.grey));
}

// --- Window events ---------------------------------------------------------------------------

bool frmMainMenufrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralArea && event->type() == QEvent::Resize)
        LayoutMainWindow(*this);
    // The wheel over the picture scrolls it: down and up, or across with Shift held.
    if (watched == picBox2 && event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        QScrollBar* bar = (wheel->modifiers() & Qt::ShiftModifier) ? hsbBox1 : vsbBox1;
        if (bar->isVisible()) {
            QApplication::sendEvent(bar, event);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMainMenufrm::closeEvent(QCloseEvent* event) {
    closing_ = true;
    for (const char* name : windowsClosedByExit())
        closeWindow(QString::fromLatin1(name));
    for (auto& [name, window] : windows_) {
        if (window && window->isVisible())
            window->close();
    }
    event->accept();
}

}  // namespace kestrova
