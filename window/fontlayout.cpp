#include "window/fontlayout.h"

#include <algorithm>

#include <QFont>
#include <QGroupBox>
#include <QWidget>

namespace vinkring {

namespace {
// Space kept between the guide text and the frame above and the control below.
constexpr int kGuideGap = 3;
}  // namespace

double windowScale(const QFont& font, double logicalDpi)
{
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * logicalDpi / 72.0;
    return std::max(1.0, pixels / kDesignFontPixels);
}

double windowScale(QWidget& window)
{
    window.ensurePolished();
    return windowScale(window.font(), window.logicalDpiY());
}

QRect guideGeometry(QGroupBox& page, const QRect& designed, int firstControlTop)
{
    page.ensurePolished();
    const int top = std::max(designed.top(), page.contentsRect().top() + kGuideGap);
    const int bottom = firstControlTop - kGuideGap - 1;
    return {designed.left(), top, designed.width(), bottom - top + 1};
}

}  // namespace vinkring
