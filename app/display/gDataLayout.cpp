#include "gDataLayout.h"

#include <algorithm>
#include <cmath>

namespace kestrova {
namespace {

constexpr double kMinimumWidth = 1440.0;
constexpr double kMinimumHeight = 1848.0;
constexpr double kMargin = 1440.0;        // the viewport is the inner size less this
constexpr double kBottomReserve = 720.0;  // room for the values frame below the viewport
constexpr double kLogoWidth = 986.0;
constexpr double kLogoHeight = 794.0;

// The scroll bars take any int; the zoom limit keeps the picture far below that range in twips.
std::int32_t scrollMaximum(double range)
{
    const double rounded = std::nearbyint(range);
    return static_cast<std::int32_t>(std::clamp(rounded, 0.0, 2147483647.0));
}

}  // namespace

MainLayout layoutMainWindow(const MainLayoutInput& in)
{
    MainLayout out;
    if (in.innerWidth < kMinimumWidth || in.innerHeight < kMinimumHeight)
        return out;
    out.applies = true;

    double width = in.innerWidth - kMargin;
    double height = in.innerHeight - kMargin;
    double pictureWidth = in.pictureWidth;
    double pictureHeight = in.pictureHeight;
    if (in.state != MainWindowState::Image) {
        if (width * kLogoHeight / kLogoWidth >= height)
            width = height * kLogoWidth / kLogoHeight;
        else
            height = width * kLogoHeight / kLogoWidth;
        pictureWidth = width - 2.0 * in.viewportBorder;
        pictureHeight = height - 2.0 * in.viewportBorder;
        out.paintLogo = in.state == MainWindowState::Startup;
    }

    // Shrink the viewport to a smaller picture, so that no empty band shows beside it.
    if (width - 2.0 * in.viewportBorder > pictureWidth)
        width = pictureWidth + 2.0 * in.viewportBorder;
    if (height - 2.0 * in.viewportBorder > pictureHeight)
        height = pictureHeight + 2.0 * in.viewportBorder;

    out.viewport = {(in.innerWidth - width) / 2.0, (in.innerHeight - height - kBottomReserve) / 2.0, width, height};
    out.pictureWidth = pictureWidth;
    out.pictureHeight = pictureHeight;

    out.horizontalBar = {out.viewport.left, out.viewport.top + height, width, 0.0};
    out.verticalBar = {out.viewport.left + width, out.viewport.top, 0.0, height};
    const double horizontalRange = pictureWidth - (width - 2.0 * in.viewportBorder);
    const double verticalRange = pictureHeight - (height - 2.0 * in.viewportBorder);
    out.horizontalMaximum = scrollMaximum(horizontalRange);
    out.verticalMaximum = scrollMaximum(verticalRange);
    out.horizontalVisible = out.horizontalMaximum > 0;
    out.verticalVisible = out.verticalMaximum > 0;

    out.fileNameLeft = (in.innerWidth - in.fileNameWidth) / 2.0;
    out.fileNameTop = out.viewport.top - 240.0;
    out.valuesLeft = (in.innerWidth - in.valuesWidth) / 2.0;
    out.valuesTop = in.innerHeight - 780.0;
    return out;
}

PixelPosition pixelUnderMouse(double x, double y, std::int32_t width, std::int32_t height)
{
    // Column c covers x in [c, c + 1); the top row of the picture covers y in [1, 2).
    const double column = std::floor(x);
    const double row = static_cast<double>(height) + 1.0 - std::floor(y);
    PixelPosition position;
    position.column = static_cast<std::int32_t>(std::clamp(column, 1.0, static_cast<double>(std::max(width, 1))));
    position.row = static_cast<std::int32_t>(std::clamp(row, 1.0, static_cast<double>(std::max(height, 1))));
    return position;
}

ShapePlacement placeRegionShape(std::int32_t bottomLeftX, std::int32_t bottomLeftY, std::int32_t topRightX,
                                std::int32_t topRightY, std::int32_t imageHeight)
{
    // The outline covers the corner pixels' squares, both corners included.
    ShapePlacement shape;
    shape.left = bottomLeftX;
    shape.width = static_cast<double>(topRightX) - bottomLeftX + 1.0;
    shape.top = static_cast<double>(imageHeight) - topRightY + 1.0;
    shape.height = static_cast<double>(topRightY) - bottomLeftY + 1.0;
    return shape;
}

PrintLayout printLayout(double pageWidth, double pageHeight, double captionWidth)
{
    PrintLayout page;
    page.pictureWidth = 0.8 * pageWidth;
    page.pictureHeight = 0.8 * pageHeight;
    page.pictureLeft = (pageWidth - page.pictureWidth) / 2.0;
    page.pictureTop = (pageHeight - page.pictureHeight) / 2.0;
    page.captionLeft = (pageWidth - captionWidth) / 2.0;
    page.captionTop = static_cast<std::int32_t>(std::nearbyint(0.035 * pageHeight));
    return page;
}

}  // namespace kestrova
