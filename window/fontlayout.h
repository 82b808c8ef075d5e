#pragma once
// The designed window at the interface font: the twips of the design become
// pixels in proportion to the font's size, so that a larger font gets larger
// controls around its texts.

#include <QRect>

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

}  // namespace vinkring
