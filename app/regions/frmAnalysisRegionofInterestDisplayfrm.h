#pragma once

// The analysis region shown as a grey image of its own: its own thresholds from the region
// histogram, its own zoom (512 pixels along the longer side at 100 %, doubling and halving
// steps), its own Invert Display switch, the read-out in image coordinates, and the image,
// display and print outputs.

#include <string>

#include "gFormDialog.h"

class QAction;
class QGroupBox;
class QLabel;

namespace kestrova {

class PictureView;

class frmAnalysisRegionofInterestDisplayfrm : public ChildWindow {
    Q_OBJECT
public:
    explicit frmAnalysisRegionofInterestDisplayfrm(const WindowContext& context);

    // The custom zoom dialog's OK: applies the text and, on success, stores it and checks
    // "&Custom...".
    bool applyCustomZoom(const std::string& text);

protected:
    void unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenus();
    void Form_Load();
    // The rendered region loaded into picBox3 (from the temporary bitmap, else from the buffer).
    void loadRegionPicture();
    bool ApplyRegionZoom(const std::string& text);
    bool ZoomTo(const std::string& text, QAction* item);
    void clearZoomChecks();
    void layOut();

    void mnuImageZoomStep(bool in);
    void mnuImageZoomFit(bool height);
    void mnuImageInvertDisplay_Click();
    void mnuFileSaveAsImage_Click();
    void mnuFileSaveAsDisplay_Click();
    void mnuFilePrint_Click();
    void picBox2_MouseMove(double x, double y);

    QWidget* area_ = nullptr;
    PictureView* view_ = nullptr;
    QLabel* lblFN_ = nullptr;
    QGroupBox* fraValues_ = nullptr;
    QLabel* lblvalX_ = nullptr;
    QLabel* lblvalY_ = nullptr;
    QLabel* lblvalW_ = nullptr;
    QLabel* lblvalI_ = nullptr;
    QLabel* lblvalG_ = nullptr;

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
};

}  // namespace kestrova
