#pragma once
// The designed window at the interface font: the twips of the design become
// pixels in proportion to the font's size, so that a larger font gets larger
// controls around its texts.

#include <array>

#include <QRect>
#include <QSize>

class QFont;
class QGroupBox;
class QWidget;

namespace vinkring {

// The window is designed for the default interface font: 9 points, 12 pixels
// at 96 dpi.
inline constexpr double kDesignFontPixels = 12.0;

// The factor by which the design grows for this font: its size in pixels
// against the designed one, never below 1 (a smaller font keeps the designed
// window).
double windowScale(const QFont& font, double logicalDpi);

// The same for a window's own font (its style sheet applied) on its screen.
double windowScale(QWidget& window);

// Where a page's guide text goes: its designed rectangle, moved down below the
// page's caption and frame when the style draws them lower, and from there down
// to just above the page's first control (firstControlTop, in the page's
// pixels).
QRect guideGeometry(QGroupBox& page, const QRect& designed, int firstControlTop);

// Where the client area's parts go at a scale. Where the grown design fits
// the room, exactly as designed. Where it does not, the client area takes the
// room there is: the banner shrinks to its width (to its designed size where
// the height is short), the counter and the
// navigation buttons keep their distance from the right edge (the buttons
// also from the bottom), and the page area between them gets what is left,
// through which its page scrolls.
struct ClientLayout {
    QSize client;
    double bannerScale = 1.0;
    QRect banner;
    QRect counter;
    QRect pageArea;  // the part of the page that shows
    QSize page;      // the page's own size, as designed at the scale
    std::array<QRect, 4> command1;  // "<", ">", (unused), ">|"
};
// A page area that scrolls down is made wider by scrollBar where there is room.
ClientLayout fitClientArea(double scale, QSize room, int scrollBar = 0);

// The room the client area has on the window's screen: its available area
// less the window's frame (as far as it is known, else the title bar the
// style would draw) and menu bar.
QSize clientRoom(QWidget& window, int menuBarHeight);

}  // namespace vinkring
