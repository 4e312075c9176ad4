#include "frmAnalysisRegionofInterestDisplayImageZoomCustomfrm.h"

#include "frmAnalysisRegionofInterestDisplayfrm.h"

namespace kestrova {

frmAnalysisRegionofInterestDisplayImageZoomCustomfrm::frmAnalysisRegionofInterestDisplayImageZoomCustomfrm(
    const WindowContext& context)
    : ZoomCustomDialog(context, context.state.regionDisplay.regionZoomText,
                       [&services = context.services](const std::string& text) {
                           // The zoom belongs to the open region display window; without one there is nothing to zoom.
                           auto* region = qobject_cast<frmAnalysisRegionofInterestDisplayfrm*>(
                               services.openedWindow(QString::fromLatin1(windows::kRegionDisplay)));
                           if (region)
                               region->applyCustomZoom(text);
                       })
{}

}  // namespace kestrova
