#pragma once
// The designed window at the interface font: the twips of the design become
// pixels in proportion to the font's size, so that a larger font gets larger
// controls around its texts.

#include <array>

#include <QProxyStyle>
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

// Where the client area's parts go in a client area of this size at a scale.
// At the scaled design, exactly as designed. Beyond it the page area takes
// every extra pixel, the counter and the navigation buttons keep their
// distance to the right edge (the buttons to the bottom as well), and the
// banner moves right by half the extra width, staying over the page area's
// middle; short of it, the same the other way, but for the banner. The
// banner is never wider than the client area leaves it, and gives way
// (smaller, then gone, the counter then beside the navigation buttons) where
// the pages want more height than the page area gets (pagesWant): beyond the
// designed height by no more than the window has beyond it, below it by as
// much as they want.
struct ClientLayout {
    double bannerScale = 1.0;  // 0: no banner
    QRect banner;
    QRect counter;
    bool counterBelow = false;  // beside the navigation buttons
    QRect pageArea;
    std::array<QRect, 4> command1;  // "<", ">", (unused), ">|"
};
ClientLayout layOutClient(double scale, QSize client, int pagesWant);

// The room the client area has on the window's screen (a dialog's parent's,
// before it is shown): its available area less the window's frame (as far
// as it is known, else the title bar the style would draw) and menu bar.
QSize clientRoom(QWidget& window, int menuBarHeight);

// The program's style: the style it was given, with its icons (of buttons,
// message boxes, lists) as much larger as the font is.
class FontScaledStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

}  // namespace vinkring
