#pragma once

// The main window: the logo until an image is opened, then the image in a scrollable viewport
// with the read-out of the pixel under the mouse, and the menus that open every other window.
// Closing it closes every other window and ends the program. Its controls are its own; tests and
// scripts find them by objectName.

#include <QMainWindow>
#include <QString>
#include <memory>
#include <string>

#include "ProgramState.h"
#include "gDataLayout.h"
#include "gFormPrint.h"
#include "gFormWindows.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;

namespace kestrova {

class PictureView;
struct ZoomAnchor;

class frmMainMenufrm : public QMainWindow, public WindowServices {
    Q_OBJECT
public:
    explicit frmMainMenufrm(ProgramState& state, QWidget* parent = nullptr);
    ~frmMainMenufrm() override;

    ProgramState& state() { return state_; }
    // Start-up (the logo), an image shown, or closed (an empty picture).
    MainWindowState windowState() const { return windowState_; }
    // The file shown in picBox3: the logo, then the temporary display bitmap.
    const QString& pictureFileName() const { return pictureFileName_; }

    // File Open after the dialog: loads the file and shows it. False when it was not opened.
    bool OpenImageFile(const QString& path);
    void CloseImage();

    // WindowServices.
    void refresh(Change change) override;
    bool applyCustomZoom(const std::string& text) override;
    PrintSettings& printSettings() override { return printSettings_; }

    // Child windows by name (closed first when open, then opened fresh).
    QWidget* openWindow(const QString& name) override;
    QWidget* openedWindow(const QString& name) override;
    bool isWindowOpen(const QString& name) const;

signals:
    // The picture of an opened image has been painted on the screen.
    void imageShown();

protected:
    void closeEvent(QCloseEvent* event) override;
    // A file dropped on the window opens as File Open would.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenus();
    void startUp();
    // Every item's enabled and checked state from the window state and the records.
    void updateActions();
    void resetPictureBoxes();
    void resetFileNameFields();
    // The size, zooms and regions of no image: 6144 x 4096 at 100 %, both regions whole and hidden.
    void resetImageFrame();
    void clearReadOut();
    void showCalibrationLabel();
    void layOut();
    // "name.ext – Kestrova" while an image is shown, else the start-up caption.
    void showFileNameInTitle();
    // RefreshDisplay and the picture loaded into picBox3 (no repaint of picBox2).
    bool RefreshDisplayPicture();
    bool ApplyZoom(const std::string& text, const ZoomAnchor& anchor);
    // The zoom commands: apply a zoom text and, on success, store it and check `item`.
    bool ZoomTo(const std::string& text, QAction* item, const ZoomAnchor& anchor);
    void clearZoomChecks();

    void mnuFileOpen_Click();
    void mnuFileSaveAsImage_Click();
    void mnuFileSaveAsDisplay_Click();
    void mnuFilePrint_Click();
    void mnuImageZoomFit(bool height);
    void mnuImageZoomStep(bool in, const ZoomAnchor& anchor);
    void mnuImageInvertDisplay_Click();
    void openThresholdsDialog(const char* name);
    void mnuAnalysisIntensityDistribution_Click();
    void picBox2_MouseMove(double x, double y);

    ProgramState& state_;
    MainWindowState windowState_ = MainWindowState::Startup;
    QString pictureFileName_;  // the file shown in picBox3
    QString lastFolder_;       // of the last file opened or saved in this run: the dialogs start there
    PrintSettings printSettings_;
    std::unique_ptr<ChildWindows> windows_;
    bool closing_ = false;

    QWidget* centralArea_ = nullptr;
    PictureView* view_ = nullptr;
    QLabel* lblFN_ = nullptr;
    QGroupBox* fraValues_ = nullptr;
    QLabel* lblvalX_ = nullptr;
    QLabel* lblvalY_ = nullptr;
    QLabel* lblvalW_ = nullptr;
    QLabel* lblvalI_ = nullptr;
    QLabel* lblvalG_ = nullptr;

    // The menu items the window itself enables, checks or triggers.
    QMenu* mnuFileSave_ = nullptr;
    QAction* mnuFilePrint_ = nullptr;
    QAction* mnuFileClose_ = nullptr;
    QMenu* mnuImage_ = nullptr;
    QMenu* mnuAnalysis_ = nullptr;
    QAction* mnuImageZoomZoomIn_ = nullptr;
    QAction* mnuImageZoomZoomOut_ = nullptr;
    QAction* mnuImageZoomFitToHeight_ = nullptr;
    QAction* mnuImageZoomFitToWidth_ = nullptr;
    QAction* mnuImageZoom25_ = nullptr;
    QAction* mnuImageZoom50_ = nullptr;
    QAction* mnuImageZoom75_ = nullptr;
    QAction* mnuImageZoom100_ = nullptr;
    QAction* mnuImageZoom200_ = nullptr;
    QAction* mnuImageZoomCustom_ = nullptr;
    QAction* mnuImageInvertDisplay_ = nullptr;
    QAction* mnuAnalysisInvertIntensity_ = nullptr;
};

// The filter of images in the save dialogs; the open dialog offers every supported image first.
QString imageFileFilter();
QString openImageFileFilter();

}  // namespace kestrova
