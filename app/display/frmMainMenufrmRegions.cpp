// The main window's part in the regions of interest and the analysis image: the mouse gestures
// on the picture, Invert Intensity, the Data Thresholds command, and the display and analysis
// settings files of the Image and Analysis menus.

#include <QAction>
#include <QFile>

#include "frmAnalysisRegionsofInterestValuesfrm.h"
#include "frmMainMenufrm.h"
#include "gDataAnalysis.h"
#include "gDataRoI.h"
#include "gFileRoI.h"
#include "gForm.h"
#include "gFormPictureView.h"
#include "gFormServices.h"

namespace kestrova {
namespace {

std::string fileSystemName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString shownName(const std::string& fileName)
{
    return QFile::decodeName(QByteArray::fromStdString(fileName));
}

// An open dialog hands back nothing, or its untouched preset "*.*", when it is cancelled.
bool openCancelled(const QString& path)
{
    return path.isEmpty() || path.endsWith(QStringLiteral("*.*"));
}

// A settings file may be saved under a name ending in ".txt" or without an extension; a bare
// ".txt" names no file.
bool settingsFileName(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return !name.isEmpty();
    return dot > 0 && name.mid(dot).compare(QStringLiteral(".txt"), Qt::CaseInsensitive) == 0;
}

}  // namespace

// --- Mouse on the picture --------------------------------------------------------------------

void frmMainMenufrm::picBox2_MouseDown(Qt::MouseButton button, double x, double y)
{
    if (windowState_ != MainWindowState::Image)
        return;
    const PixelPosition at = view_->pixelUnderMouse(x, y);
    roiMousePress(state_.roi, state_.roiMouse, button == Qt::LeftButton ? RoIMouseButton::Left : RoIMouseButton::Other,
                  at.column, at.row, state_.image.width, state_.image.height);
    DrawRoIRectangles(*view_, state_.roi, true);
}

void frmMainMenufrm::dragRegion(const PixelPosition& at)
{
    if (roiMouseMove(state_.roi, state_.roiMouse, at.column, at.row, state_.image.width, state_.image.height))
        view_->placeOutline(1, true, state_.roi.RoI1);
}

void frmMainMenufrm::picBox2_MouseUp(double x, double y)
{
    if (windowState_ != MainWindowState::Image)
        return;
    // The pointer may have moved since the last move event.
    dragRegion(view_->pixelUnderMouse(x, y));
    if (!roiMouseRelease(state_.roi, state_.roiMouse, state_.image.width, state_.image.height))
        return;
    refresh(Change::Regions);
    reopenRegionsDialog();
}

void frmMainMenufrm::reopenRegionsDialog()
{
    const QString name = QString::fromLatin1(windows::kRegionsValues);
    if (!windows_->isOpen(name))
        return;
    // Closing it must not put back the regions it started from: they were changed on purpose.
    // It opens again where the user left it.
    QPoint where;
    for (auto* dialog : findChildren<frmAnalysisRegionsofInterestValuesfrm*>(name, Qt::FindDirectChildrenOnly)) {
        if (dialog->isVisible())
            where = dialog->pos();
        dialog->disarmRestore();
    }
    if (QWidget* reopened = windows_->open(name); reopened && !where.isNull())
        reopened->move(where);
}

// --- Analysis image --------------------------------------------------------------------------

void frmMainMenufrm::mnuAnalysisInvertIntensity_Click()
{
    InvertIntensity(state_.inversion, state_.resultFlags);
    updateActions();
    refresh(Change::IntensityInverted);
}

void frmMainMenufrm::mnuAnalysisDataThresholds_Click()
{
    BuildRegion(state_.image, state_.roi, state_.resultFlags, state_.region);
    if (!state_.image.thresholdsAllowed) {
        showMessage(QStringLiteral("Minimum and Maximum Equal - Thresholds cannot be set"));
        return;
    }
    openWindow(QString::fromLatin1(windows::kDataThresholds));
}

// --- Display and analysis settings files ------------------------------------------------------

void frmMainMenufrm::mnuImageDisplaySettingsOpen_Click()
{
    const QString path =
        runFileDialog(this, {FileDialogKind::Open, QStringLiteral("*.*"),
                             QStringLiteral("Display Settings Files (*.txt)|*.txt|All files (*.*)|*.*"),
                             shownName(state_.image.imageFolder)});
    if (!openCancelled(path))
        ApplyDisplaySettingsFile(fileSystemName(path));
}

bool frmMainMenufrm::ApplyDisplaySettingsFile(const std::string& fileName)
{
    // The threshold dialogs would put back their own copies when closed: they go first, as Cancel.
    windows_->close(QString::fromLatin1(windows::kThresholdsAbsolute));
    windows_->close(QString::fromLatin1(windows::kThresholdsPerCent));
    Messages messages;
    const DisplaySettingsRead read =
        ReadDisplaySettings(fileName, state_.image, state_.displayThresholds, state_.inversion, messages);
    showMessages(messages);
    if (!read.applied)
        return false;
    updateActions();
    invalidate(state_.resultFlags, Change::DisplayThresholds);
    RefreshDisplayPicture();
    // The file's zoom is kept only when it can be applied; else the picture stays at its zoom.
    const auto itemFor = [this](const std::string& text) {
        for (auto [level, item] :
             {std::pair{"25", mnuImageZoom25_}, std::pair{"50", mnuImageZoom50_}, std::pair{"75", mnuImageZoom75_},
              std::pair{"100", mnuImageZoom100_}, std::pair{"200", mnuImageZoom200_}}) {
            if (text == level)
                return item;
        }
        return mnuImageZoomCustom_;
    };
    if (!read.zoomText || !ZoomTo(*read.zoomText, itemFor(*read.zoomText), ZoomAnchor::centre()))
        ApplyZoom(state_.zoom.zoomText, ZoomAnchor::centre());
    windows_->reopenAfter(Change::DisplayThresholds);
    return true;
}

void frmMainMenufrm::mnuImageDisplaySettingsSaveAs_Click()
{
    const ImageStore& image = state_.image;
    const QString path =
        runFileDialog(this, {FileDialogKind::Save, shownName(image.imageFolder + image.imageBaseName + "-Display.txt"),
                             QStringLiteral("Display Settings Files (*.txt)|*.txt"), shownName(image.imageFolder)});
    if (!settingsFileName(path))
        return;
    Messages messages;
    WriteDisplaySettings(fileSystemName(path), state_.zoom, state_.inversion, state_.displayThresholds, messages);
    showMessages(messages);
}

void frmMainMenufrm::mnuAnalysisAnalysisSettingsOpen_Click()
{
    const QString path =
        runFileDialog(this, {FileDialogKind::Open, QStringLiteral("*.*"),
                             QStringLiteral("Analysis Settings Files (*.txt)|*.txt|All files (*.*)|*.*"),
                             shownName(state_.image.imageFolder)});
    if (!openCancelled(path))
        ApplyAnalysisSettingsFile(fileSystemName(path));
}

bool frmMainMenufrm::ApplyAnalysisSettingsFile(const std::string& fileName)
{
    // The dialogs that edit the same records would put back their own copies: they go first, as Cancel.
    windows_->close(QString::fromLatin1(windows::kRegionsValues));
    windows_->close(QString::fromLatin1(windows::kDataThresholds));
    const bool invertedBefore = state_.inversion.invertIntensity;
    Messages messages;
    const bool applied = ReadAnalysisSettings(fileName, state_.image, state_.inversion, state_.roi,
                                              state_.dataThresholds, state_.resultFlags, messages);
    showMessages(messages);
    if (!applied)
        return false;
    updateActions();
    if (state_.inversion.invertIntensity != invertedBefore) {
        RefreshDisplayPicture();
        ApplyZoom(state_.zoom.zoomText, ZoomAnchor::centre());
    }
    // Outlines redrawn, every open analysis window opened again.
    refresh(Change::Regions);
    return true;
}

void frmMainMenufrm::mnuAnalysisAnalysisSettingsSaveAs_Click()
{
    const ImageStore& image = state_.image;
    const QString path =
        runFileDialog(this, {FileDialogKind::Save, shownName(image.imageFolder + image.imageBaseName + "-Analysis.txt"),
                             QStringLiteral("Analysis Settings Files (*.txt)|*.txt"), shownName(image.imageFolder)});
    if (!settingsFileName(path))
        return;
    Messages messages;
    WriteAnalysisSettings(fileSystemName(path), state_.inversion, state_.roi, state_.dataThresholds, messages);
    showMessages(messages);
}

}  // namespace kestrova
