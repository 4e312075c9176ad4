#include "gFormOrg.h"

#include <QString>
#include <algorithm>
#include <cmath>

#include "frmMainMenufrm.h"
#include "gDataZoom.h"
#include "gForm.h"
#include "gFormPictureBox.h"
#include "gFormServices.h"

namespace kestrova {

bool ApplyZoom(frmMainMenufrm& window, const std::string& text) {
    if (!window.startupState && !window.closedState) {
        const std::optional<std::int16_t> percent = zoomPercent(text);
        if (!percent)
            return false;
        const float factor = zoomFactor(*percent, window.state().zoom.baseScale);
        const QImage& full = window.picBox3->picture();
        const double twips = twipsPerPixel(window.centralArea);
        if (!zoomWithinLimit(full.width() * twips, full.height() * twips, factor, window.innerWidthTwips(),
                             window.innerHeightTwips())) {
            showMessage(QString::fromUtf8(kZoomRefusedMessage));
            return false;
        }
        // At least one screen pixel each way, however small the zoom.
        const QSize size(std::max(1, static_cast<int>(std::lround(full.width() * static_cast<double>(factor)))),
                         std::max(1, static_cast<int>(std::lround(full.height() * static_cast<double>(factor)))));
        window.picBox2->paintPictureStretched(full, size);
        const ImageStore& image = window.state().image;
        window.picBox2->setUserScale(1.0, 1.0, image.width, image.height);
    }
    LayoutMainWindow(window);
    DrawRoIRectangles(window);
    return true;
}

}  // namespace kestrova
