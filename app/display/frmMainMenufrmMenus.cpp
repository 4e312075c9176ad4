// The main window's menus: building them once, their enabling and check marks from the window
// state, and the zoom commands.

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "frmMainMenufrm.h"
#include "gDataZoom.h"
#include "gForm.h"
#include "gFormPictureBox.h"
#include "gFormPictureView.h"
#include "gFormServices.h"

namespace kestrova {
namespace {

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
    const auto window = [this](const char* name) { return [this, name] { openWindow(QString::fromLatin1(name)); }; };
    // A settings submenu; its Open and Save As items, named after it, do nothing yet.
    const auto settingsMenu = [this, &item, &nothing](QMenu* into, const char* name, const QString& caption) {
        QMenu* menu = addMenu(this, nullptr, into, name, caption);
        const QByteArray base(name);
        item(menu, QByteArray(base + "Open").constData(), QStringLiteral("&Open..."), nothing);
        item(menu, QByteArray(base + "SaveAs").constData(), QStringLiteral("&Save As..."), nothing);
    };

    QMenu* file = addMenu(this, bar, nullptr, "mnuFile", QStringLiteral("&File"));
    QAction* open = item(file, "mnuFileOpen", QStringLiteral("&Open..."), [this] { mnuFileOpen_Click(); });
    mnuFileSave_ = addMenu(this, nullptr, file, "mnuFileSave", QStringLiteral("&Save As"));
    item(mnuFileSave_, "mnuFileSaveAsImage", QStringLiteral("&Image..."), [this] { mnuFileSaveAsImage_Click(); });
    item(mnuFileSave_, "mnuFileSaveAsDisplay", QStringLiteral("&Display..."), [this] { mnuFileSaveAsDisplay_Click(); });
    mnuFilePrint_ = item(file, "mnuFilePrint", QStringLiteral("&Print..."), [this] { mnuFilePrint_Click(); });
    item(file, "mnuFileInitialDisplayThresholds", QStringLiteral("Set &Initial Display Thresholds..."),
         window(windows::kInitialThresholds), true);
    mnuFileClose_ = item(file, "mnuFileClose", QStringLiteral("&Close"), [this] { CloseImage(); });
    QAction* exit = item(file, "mnuFileExit", QStringLiteral("&Exit"), [this] { close(); });

    mnuImage_ = addMenu(this, bar, nullptr, "mnuImage", QStringLiteral("&Image"));
    item(mnuImage_, "mnuImageInformation", QStringLiteral("&Information..."), window(windows::kInformation), true);
    QMenu* zoom = addMenu(this, nullptr, mnuImage_, "mnuImageZoom", QStringLiteral("&Zoom"));
    const ZoomAnchor centre = ZoomAnchor::centre();
    mnuImageZoomZoomIn_ =
        item(zoom, "mnuImageZoomZoomIn", QStringLiteral("Zoom &In"), [this, centre] { mnuImageZoomStep(true, centre); }, true);
    mnuImageZoomZoomOut_ = item(zoom, "mnuImageZoomZoomOut", QStringLiteral("Zoom &Out"),
                                [this, centre] { mnuImageZoomStep(false, centre); }, true);
    mnuImageZoomFitToHeight_ = item(zoom, "mnuImageZoomFitToHeight", QStringLiteral("Fit to &Height"),
                                    [this] { mnuImageZoomFit(true); }, true);
    mnuImageZoomFitToWidth_ = item(zoom, "mnuImageZoomFitToWidth", QStringLiteral("Fit to &Width"),
                                   [this] { mnuImageZoomFit(false); }, true);
    const auto level = [this, &item, zoom, centre](const char* name, const QString& caption, const char* text,
                                                   QAction*& action) {
        action = item(zoom, name, caption, [this, text, &action, centre] { ZoomTo(text, action, centre); }, true);
    };
    level("mnuImageZoom25", QStringLiteral("&25%"), "25", mnuImageZoom25_);
    level("mnuImageZoom50", QStringLiteral("&50%"), "50", mnuImageZoom50_);
    level("mnuImageZoom75", QStringLiteral("&75%"), "75", mnuImageZoom75_);
    level("mnuImageZoom100", QStringLiteral("&100%"), "100", mnuImageZoom100_);
    level("mnuImageZoom200", QStringLiteral("2&00%"), "200", mnuImageZoom200_);
    QAction* actualPixels = item(zoom, "mnuImageZoomActualPixels", QStringLiteral("&Actual Pixels"),
                                 [this] { applyCustomZoom(actualPixelsText(state_.zoom.baseScale)); });
    mnuImageZoomCustom_ =
        item(zoom, "mnuImageZoomCustom", QStringLiteral("&Custom..."), window(windows::kZoomCustom), true);
    mnuImageInvertDisplay_ = item(mnuImage_, "mnuImageInvertDisplay", QStringLiteral("In&vert Display"),
                                  [this] { mnuImageInvertDisplay_Click(); }, true);
    QMenu* thresholds =
        addMenu(this, nullptr, mnuImage_, "mnuImageDisplayThresholds", QStringLiteral("&Set Display Thresholds"));
    item(thresholds, "mnuImageDisplayThresholdsAsPerCentValues", QStringLiteral("As % &Values..."),
         [this] { openThresholdsDialog(windows::kThresholdsPerCent); }, true);
    item(thresholds, "mnuImageDisplayThresholdsAsAbsoluteValues", QStringLiteral("As &Absolute Values..."),
         [this] { openThresholdsDialog(windows::kThresholdsAbsolute); }, true);
    settingsMenu(mnuImage_, "mnuImageDisplaySettings", QStringLiteral("Display &Settings"));

    mnuAnalysis_ = addMenu(this, bar, nullptr, "mnuAnalysis", QStringLiteral("&Analysis"));
    item(mnuAnalysis_, "mnuAnalysisXAxisProjection", QStringLiteral("&SPECTRUM (X Axis Projection)..."), window(windows::kSpectrum), true);
    item(mnuAnalysis_, "mnuAnalysisYAxisProjection", QStringLiteral("&PROFILE (Y Axis Projection)..."), window(windows::kProfile), true);
    item(mnuAnalysis_, "mnuAnalysisAreaProperties", QStringLiteral("&Centroid and Area Measurement..."), window(windows::kCentroid), true);
    mnuAnalysisInvertIntensity_ =
        item(mnuAnalysis_, "mnuAnalysisInvertIntensity", QStringLiteral("&Invert (Maximum - Intensity)"), nothing, true);
    item(mnuAnalysis_, "mnuAnalysisDataThresholdsAsAbsoluteValues", QStringLiteral("Set Data &Thresholds..."), nothing,
         true);
    item(mnuAnalysis_, "mnuAnalysisRegionsofInterestAsAbsoluteValues",
         QStringLiteral("Set &Regions of Interest Size and Position..."), nothing, true);
    item(mnuAnalysis_, "mnuAnalysisRegionsofInterestDisplay", QStringLiteral("&Display Region of Interest..."),
         window(windows::kRegionDisplay), true);
    item(mnuAnalysis_, "mnuAnalysisIntensityDistribution", QStringLiteral("&Histogram (Intensity Distribution)..."),
         [this] { mnuAnalysisIntensityDistribution_Click(); }, true);
    settingsMenu(mnuAnalysis_, "mnuAnalysisAnalysisSettings", QStringLiteral("&Analysis Settings"));

    QMenu* help = addMenu(this, bar, nullptr, "mnuHelp", QStringLiteral("&Help"));
    item(help, "mnuHelpAbout", QStringLiteral("&About..."), window(windows::kAbout));

    open->setShortcut(QKeySequence::Open);
    mnuFilePrint_->setShortcut(QKeySequence::Print);
    mnuFileClose_->setShortcut(QKeySequence::Close);
    exit->setShortcut(QKeySequence::Quit);
    mnuImageZoomZoomIn_->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    mnuImageZoomZoomOut_->setShortcut(QKeySequence::ZoomOut);
    actualPixels->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
}

void frmMainMenufrm::updateActions() {
    const bool image = windowState_ == MainWindowState::Image;
    mnuFileSave_->menuAction()->setEnabled(image);
    mnuFilePrint_->setEnabled(image);
    mnuImage_->menuAction()->setEnabled(image);
    mnuAnalysis_->menuAction()->setEnabled(image);
    // File Close stays enabled once an image has been opened.
    mnuFileClose_->setEnabled(windowState_ != MainWindowState::Startup);
    mnuImageInvertDisplay_->setChecked(state_.inversion.invertDisplay);
    mnuAnalysisInvertIntensity_->setChecked(state_.inversion.invertIntensity);
}

void frmMainMenufrm::clearZoomChecks() {
    ClearZoomChecks({mnuImageZoom100_, mnuImageZoom200_, mnuImageZoom25_, mnuImageZoom50_, mnuImageZoom75_,
                     mnuImageZoomCustom_, mnuImageZoomFitToHeight_, mnuImageZoomFitToWidth_, mnuImageZoomZoomIn_,
                     mnuImageZoomZoomOut_});
}

bool frmMainMenufrm::ZoomTo(const std::string& text, QAction* item, const ZoomAnchor& anchor) {
    if (!ApplyZoom(text, anchor))
        return false;
    state_.zoom.zoomText = text;
    clearZoomChecks();
    item->setChecked(true);
    return true;
}

bool frmMainMenufrm::applyCustomZoom(const std::string& text) {
    return ZoomTo(text, mnuImageZoomCustom_, ZoomAnchor::centre());
}

void frmMainMenufrm::mnuImageZoomStep(bool in, const ZoomAnchor& anchor) {
    const std::string text = in ? zoomInText(state_.zoom.zoomText) : zoomOutText(state_.zoom.zoomText);
    ZoomTo(text, in ? mnuImageZoomZoomIn_ : mnuImageZoomZoomOut_, anchor);
}

void frmMainMenufrm::mnuImageZoomFit(bool height) {
    ZoomTo("100", mnuImageZoom100_, ZoomAnchor::centre());
    const double twips = twipsPerPixel(centralArea_);
    const QSize viewport = view_->viewport()->contentsRect().size();
    const QSize picture = view_->picture()->size();
    const std::string text = height ? fitZoomText(viewport.height() * twips, picture.height() * twips)
                                    : fitZoomText(viewport.width() * twips, picture.width() * twips);
    ZoomTo(text, height ? mnuImageZoomFitToHeight_ : mnuImageZoomFitToWidth_, ZoomAnchor::centre());
}

}  // namespace kestrova
