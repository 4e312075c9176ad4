#pragma once

// The main window: the logo until an image is opened, then the image in a scrollable viewport
// with the read-out of the pixel under the mouse, and the menus that open every other window.
// Closing it closes every other window and ends the program.

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <string>

#include "ProgramState.h"
#include "gFormPrint.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QScrollBar;

namespace kestrova {

class PictureBox;
class RectangleShape;

class frmMainMenufrm : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMainMenufrm(ProgramState& state, QWidget* parent = nullptr);
    ~frmMainMenufrm() override;

    ProgramState& state() { return state_; }
    const ProgramState& state() const { return state_; }

    // Window state.
    bool startupState = true;   // from start-up until the first successful File Open
    bool closedState = false;   // after File Close
    QString pictureFileName;    // the file shown in picBox3
    QString versionText;        // "major.minor.revision"
    PrintSettings printSettings;

    // Operations the menu commands and the other windows share.
    // File Open after the dialog: loads the file and shows it. False when it was not opened.
    bool OpenImageFile(const QString& path);
    void CloseImage();
    // RefreshDisplay and the picture loaded into picBox3 (no repaint of picBox2).
    bool RefreshDisplayPicture();
    // After a change of the thresholds or the inversion: RefreshDisplay, ApplyZoom with the
    // current zoom text, and the histogram window opened again when it is open.
    void ApplyDisplayChange();
    // The zoom commands: apply a zoom text and, on success, store it and check `item`.
    bool ZoomTo(const std::string& text, QAction* item);

    // Child windows and their open flags.
    using WindowFactory = std::function<QWidget*()>;
    void registerWindow(const QString& name, WindowFactory factory);
    bool isWindowOpen(const QString& name) const;
    QWidget* openWindow(const QString& name);  // closed first when open, then opened fresh
    void closeWindow(const QString& name);
    void reopenWindowIfOpen(const QString& name);
    bool isClosing() const { return closing_; }

    // The window's inner area (below the menu bar) in twips.
    double innerWidthTwips() const;
    double innerHeightTwips() const;

    // Controls.
    QWidget* centralArea = nullptr;
    PictureBox* picBox1 = nullptr;
    PictureBox* picBox2 = nullptr;
    PictureBox* picBox3 = nullptr;
    QScrollBar* hsbBox1 = nullptr;
    QScrollBar* vsbBox1 = nullptr;
    RectangleShape* shpRoI1Rectangle = nullptr;
    RectangleShape* shpRoI2Rectangle = nullptr;
    QLabel* lblFN = nullptr;
    QGroupBox* fraValues = nullptr;
    QLabel* lblX = nullptr;
    QLabel* lblvalX = nullptr;
    QLabel* lblY = nullptr;
    QLabel* lblvalY = nullptr;
    QLabel* lblW = nullptr;
    QLabel* lblvalW = nullptr;
    QLabel* lblI = nullptr;
    QLabel* lblvalI = nullptr;
    QLabel* lblG = nullptr;
    QLabel* lblvalG = nullptr;

    // Menus (a submenu's QMenu and its QAction carry the same objectName).
    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QMenu* mnuFileSave = nullptr;
    QAction* mnuFileSaveAsImage = nullptr;
    QAction* mnuFileSaveAsDisplay = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileInitialDisplayThresholds = nullptr;
    QAction* mnuFileClose = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuImage = nullptr;
    QAction* mnuImageInformation = nullptr;
    QMenu* mnuImageZoom = nullptr;
    QAction* mnuImageZoomZoomIn = nullptr;
    QAction* mnuImageZoomZoomOut = nullptr;
    QAction* mnuImageZoomFitToHeight = nullptr;
    QAction* mnuImageZoomFitToWidth = nullptr;
    QAction* mnuImageZoom25 = nullptr;
    QAction* mnuImageZoom50 = nullptr;
    QAction* mnuImageZoom75 = nullptr;
    QAction* mnuImageZoom100 = nullptr;
    QAction* mnuImageZoom200 = nullptr;
    QAction* mnuImageZoomCustom = nullptr;
    QAction* mnuImageInvertDisplay = nullptr;
    QMenu* mnuImageDisplayThresholds = nullptr;
    QAction* mnuImageDisplayThresholdsAsPerCentValues = nullptr;
    QAction* mnuImageDisplayThresholdsAsAbsoluteValues = nullptr;
    QMenu* mnuImageDisplaySettings = nullptr;
    QAction* mnuImageDisplaySettingsOpen = nullptr;
    QAction* mnuImageDisplaySettingsSaveAs = nullptr;
    QMenu* mnuAnalysis = nullptr;
    QAction* mnuAnalysisXAxisProjection = nullptr;
    QAction* mnuAnalysisYAxisProjection = nullptr;
    QAction* mnuAnalysisAreaProperties = nullptr;
    QAction* mnuAnalysisInvertIntensity = nullptr;
    QAction* mnuAnalysisDataThresholdsAsAbsoluteValues = nullptr;
    QAction* mnuAnalysisRegionsofInterestAsAbsoluteValues = nullptr;
    QAction* mnuAnalysisRegionsofInterestDisplay = nullptr;
    QAction* mnuAnalysisIntensityDistribution = nullptr;
    QMenu* mnuAnalysisAnalysisSettings = nullptr;
    QAction* mnuAnalysisAnalysisSettingsOpen = nullptr;
    QAction* mnuAnalysisAnalysisSettingsSaveAs = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpAbout = nullptr;

signals:
    // The picture of an opened image has been painted on the screen.
    void imageShown();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenus();
    void createWindowFactories();
    void startUp();
    void setImageMenusEnabled(bool enabled);
    void resetPictureBoxes();
    void resetFileNameFields();
    // The size, zooms and regions of no image: 6144 x 4096 at 100 %, both regions whole and hidden.
    void resetImageFrame();
    void clearReadOut();
    void showCalibrationLabel();
    void closeImageWindows(bool includeSettingsDialogs);

    void mnuFileOpen_Click();
    void mnuFileSaveAsImage_Click();
    void mnuFileSaveAsDisplay_Click();
    void mnuFilePrint_Click();
    void mnuImageZoomFit(bool height);
    void mnuImageZoomStep(bool in);
    void mnuImageInvertDisplay_Click();
    void openThresholdsDialog(const char* name);
    void picBox2_MouseMove(double x, double y);

    ProgramState& state_;
    std::map<QString, WindowFactory> factories_;
    std::map<QString, QPointer<QWidget>> windows_;
    bool closing_ = false;
};

// The open-dialog filter of images.
QString imageFileFilter();

}  // namespace kestrova
