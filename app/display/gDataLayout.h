#pragma once

// Pure arithmetic of the main window: the layout rules in twips, the pixel under the mouse and
// the printed page. The window layer only applies what these functions compute.

#include <cstdint>

namespace kestrova {

inline constexpr double kTwipsPerInch = 1440.0;

// 15 twips per pixel at 96 dots per inch.
inline double twipsPerPixelAtDpi(double dpi)
{
    return kTwipsPerInch / (dpi > 0.0 ? dpi : 96.0);
}

// The main window's state as far as the layout is concerned.
enum class MainWindowState { Startup, Closed, Image };

struct TwipRect {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
};

struct MainLayoutInput {
    double innerWidth = 0.0;   // W: the window's inner width
    double innerHeight = 0.0;  // H
    MainWindowState state = MainWindowState::Startup;
    double pictureWidth = 0.0;  // picBox2's outer size in the image state
    double pictureHeight = 0.0;
    double viewportBorder = 0.0;  // picBox1's border, each side
    double pictureBorder = 0.0;   // picBox2's border, each side
    double fileNameWidth = 0.0;   // lblFN
    double valuesWidth = 0.0;     // fraValues
};

struct MainLayout {
    bool applies = false;       // false: the window is too small, nothing changes
    TwipRect viewport;          // picBox1 in the window
    double pictureWidth = 0.0;  // picBox2's outer size; it sits at (0, 0) inside picBox1
    double pictureHeight = 0.0;
    bool paintLogo = false;  // stretch the logo over picBox2
    TwipRect horizontalBar;  // hsbBox1: left, top, width (height is the bar's own)
    TwipRect verticalBar;    // vsbBox1: left, top, height (width is the bar's own)
    std::int32_t horizontalMaximum = 0;
    std::int32_t verticalMaximum = 0;
    bool horizontalVisible = false;
    bool verticalVisible = false;
    double fileNameLeft = 0.0;
    double fileNameTop = 0.0;
    double valuesLeft = 0.0;
    double valuesTop = 0.0;
};

// LayoutMainWindow in twips. Without an image the viewport takes the logo's proportions
// 986 : 794; with one it shrinks to the picture when the picture is smaller, so that the picture
// always shows whole inside the viewport's border and the scroll ranges cover exactly the rest.
MainLayout layoutMainWindow(const MainLayoutInput& input);

// The image pixel under the mouse. x runs 1 .. width + 1 across the picture and y 1 .. height + 1
// down it (the picture box's coordinate system); the pixel whose square holds the point is
// returned as its column (1 = left) and row (1 = bottom), both limited to the image.
struct PixelPosition {
    std::int32_t column = 1;
    std::int32_t row = 1;
    friend bool operator==(const PixelPosition&, const PixelPosition&) = default;
};
PixelPosition pixelUnderMouse(double x, double y, std::int32_t width, std::int32_t height);

// A region rectangle in the picture's pixel scale (left, top, width, height).
struct ShapePlacement {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
};
ShapePlacement placeRegionShape(std::int32_t bottomLeftX, std::int32_t bottomLeftY, std::int32_t topRightX,
                                std::int32_t topRightY, std::int32_t imageHeight);

// One printed page: the picture stretched over 80 % of the printable width and height, centred,
// and the caption line centred across the page at 3.5 % of its height.
struct PrintLayout {
    double pictureLeft = 0.0;
    double pictureTop = 0.0;
    double pictureWidth = 0.0;
    double pictureHeight = 0.0;
    double captionLeft = 0.0;
    std::int32_t captionTop = 0;
};
PrintLayout printLayout(double pageWidth, double pageHeight, double captionWidth);

}  // namespace kestrova
