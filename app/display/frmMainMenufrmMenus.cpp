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

QMenu* addMenu(QWidget* parent, QMenuBar* bar, QMenu* into, const char* name, const QString& caption)
{
    QMenu* menu = kestrova::addMenu(into ? static_cast<QWidget*>(into) : parent, name, caption);
    if (bar)
        bar->addMenu(menu);
    else if (into)
        into->addMenu(menu);
    return menu;
}

}  // namespace

void frmMainMenufrm::createMenus()
{
    QMenuBar* bar = menuBar();
    const CommandItems item{this};
    const auto window = [this](const char* name) { return [this, name] { openWindow(QString::fromLatin1(name)); }; };
    // A settings submenu with its Open and Save As items, named after it.
    const auto settingsMenu = [this, &item](QMenu* into, const char* name, const QString& caption, auto open,
                                            auto saveAs) {
        QMenu* menu = addMenu(this, nullptr, into, name, caption);
        const QByteArray base(name);
        item(menu, QByteArray(base + "Open").constData(), QStringLiteral("&Open..."), open);
        item(menu, QByteArray(base + "SaveAs").constData(), QStringLiteral("&Save As..."), saveAs);
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
    mnuImageZoomZoomIn_ = item(
        zoom, "mnuImageZoomZoomIn", QStringLiteral("Zoom &In"), [this, centre] { mnuImageZoomStep(true, centre); },
        true);
    mnuImageZoomZoomOut_ = item(
        zoom, "mnuImageZoomZoomOut", QStringLiteral("Zoom &Out"), [this, centre] { mnuImageZoomStep(false, centre); },
        true);
    mnuImageZoomFitToHeight_ = item(
        zoom, "mnuImageZoomFitToHeight", QStringLiteral("Fit to &Height"), [this] { mnuImageZoomFit(true); }, true);
    mnuImageZoomFitToWidth_ = item(
        zoom, "mnuImageZoomFitToWidth", QStringLiteral("Fit to &Width"), [this] { mnuImageZoomFit(false); }, true);
    addZoomLevels(item, zoom,
                  {&mnuImageZoom25_, &mnuImageZoom50_, &mnuImageZoom75_, &mnuImageZoom100_, &mnuImageZoom200_},
                  [this, centre](const char* text, QAction* action) { ZoomTo(text, action, centre); });
    QAction* actualPixels = item(zoom, "mnuImageZoomActualPixels", QStringLiteral("&Actual Pixels"),
                                 [this] { applyCustomZoom(actualPixelsText(state_.zoom.baseScale)); });
    mnuImageZoomCustom_ =
        item(zoom, "mnuImageZoomCustom", QStringLiteral("&Custom..."), window(windows::kZoomCustom), true);
    mnuImageInvertDisplay_ = item(
        mnuImage_, "mnuImageInvertDisplay", QStringLiteral("In&vert Display"),
        [this] { mnuImageInvertDisplay_Click(); }, true);
    QMenu* thresholds =
        addMenu(this, nullptr, mnuImage_, "mnuImageDisplayThresholds", QStringLiteral("&Set Display Thresholds"));
    item(
        thresholds, "mnuImageDisplayThresholdsAsPerCentValues", QStringLiteral("As % &Values..."),
        [this] { openThresholdsDialog(windows::kThresholdsPerCent); }, true);
    item(
        thresholds, "mnuImageDisplayThresholdsAsAbsoluteValues", QStringLiteral("As &Absolute Values..."),
        [this] { openThresholdsDialog(windows::kThresholdsAbsolute); }, true);
    settingsMenu(
        mnuImage_, "mnuImageDisplaySettings", QStringLiteral("Display &Settings"),
        [this] { mnuImageDisplaySettingsOpen_Click(); }, [this] { mnuImageDisplaySettingsSaveAs_Click(); });

    mnuAnalysis_ = addMenu(this, bar, nullptr, "mnuAnalysis", QStringLiteral("&Analysis"));
    item(mnuAnalysis_, "mnuAnalysisXAxisProjection", QStringLiteral("&SPECTRUM (X Axis Projection)..."),
         window(windows::kSpectrum), true);
    item(mnuAnalysis_, "mnuAnalysisYAxisProjection", QStringLiteral("&PROFILE (Y Axis Projection)..."),
         window(windows::kProfile), true);
    item(mnuAnalysis_, "mnuAnalysisAreaProperties", QStringLiteral("&Centroid and Area Measurement..."),
         window(windows::kCentroid), true);
    mnuAnalysisInvertIntensity_ = item(
        mnuAnalysis_, "mnuAnalysisInvertIntensity", QStringLiteral("&Invert (Maximum - Intensity)"),
        [this] { mnuAnalysisInvertIntensity_Click(); }, true);
    item(
        mnuAnalysis_, "mnuAnalysisDataThresholdsAsAbsoluteValues", QStringLiteral("Set Data &Thresholds..."),
        [this] { mnuAnalysisDataThresholds_Click(); }, true);
    item(mnuAnalysis_, "mnuAnalysisRegionsofInterestAsAbsoluteValues",
         QStringLiteral("Set &Regions of Interest Size and Position..."), window(windows::kRegionsValues), true);
    item(mnuAnalysis_, "mnuAnalysisRegionsofInterestDisplay", QStringLiteral("&Display Region of Interest..."),
         window(windows::kRegionDisplay), true);
    item(
        mnuAnalysis_, "mnuAnalysisIntensityDistribution", QStringLiteral("&Histogram (Intensity Distribution)..."),
        [this] { mnuAnalysisIntensityDistribution_Click(); }, true);
    settingsMenu(
        mnuAnalysis_, "mnuAnalysisAnalysisSettings", QStringLiteral("&Analysis Settings"),
        [this] { mnuAnalysisAnalysisSettingsOpen_Click(); }, [this] { mnuAnalysisAnalysisSettingsSaveAs_Click(); });

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

void frmMainMenufrm::updateActions()
{
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

void frmMainMenufrm::clearZoomChecks()
{
    ClearZoomChecks({mnuImageZoom100_, mnuImageZoom200_, mnuImageZoom25_, mnuImageZoom50_, mnuImageZoom75_,
                     mnuImageZoomCustom_, mnuImageZoomFitToHeight_, mnuImageZoomFitToWidth_, mnuImageZoomZoomIn_,
                     mnuImageZoomZoomOut_});
}

bool frmMainMenufrm::ZoomTo(const std::string& text, QAction* item, const ZoomAnchor& anchor)
{
    if (!ApplyZoom(text, anchor))
        return false;
    state_.zoom.zoomText = text;
    clearZoomChecks();
    item->setChecked(true);
    return true;
}

bool frmMainMenufrm::applyCustomZoom(const std::string& text)
{
    return ZoomTo(text, mnuImageZoomCustom_, ZoomAnchor::centre());
}

void frmMainMenufrm::mnuImageZoomStep(bool in, const ZoomAnchor& anchor)
{
    const std::string text = in ? zoomInText(state_.zoom.zoomText) : zoomOutText(state_.zoom.zoomText);
    ZoomTo(text, in ? mnuImageZoomZoomIn_ : mnuImageZoomZoomOut_, anchor);
}

void frmMainMenufrm::mnuImageZoomFit(bool height)
{
    ZoomTo("100", mnuImageZoom100_, ZoomAnchor::centre());
    const std::string text = view_->fitZoomText(height);
    ZoomTo(text, height ? mnuImageZoomFitToHeight_ : mnuImageZoomFitToWidth_, ZoomAnchor::centre());
}

}  // namespace kestrova
