#include "window/form/fontlayout.h"

#include <algorithm>

#include <QFont>
#include <QGroupBox>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include "window/form/layout.h"

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

ClientLayout fitClientArea(double scale, QSize room, int scrollBar)
{
    using layout::pixels;
    ClientLayout fit;
    const QSize design = pixels(layout::kClientArea, scale).size();
    const QRect pageArea = pixels(layout::kPageArea, scale);
    fit.client = design;
    fit.bannerScale = scale;
    fit.banner = pixels(layout::kBannerArea, scale);
    fit.counter = pixels(layout::kCounterArea, scale);
    fit.pageArea = pageArea;
    fit.page = pageArea.size();
    for (std::size_t i = 0; i < fit.command1.size(); ++i)
        fit.command1[i] = pixels(layout::kCommand1[i], scale);
    if (design.width() <= room.width() && design.height() <= room.height())
        return fit;

    fit.client = design.boundedTo(room);
    if (fit.client.height() < design.height())
        fit.client.setWidth(std::min(design.width() + scrollBar, room.width()));
    const int right = fit.client.width() - design.width();    // how far right-hand parts move
    const int bottom = fit.client.height() - design.height();  // and the bottom ones
    // The banner as wide as the room leaves, with the design's margin at 1.
    const QRect bannerAtOne = pixels(layout::kBannerArea);
    const int margin = pixels(layout::kClientArea).width() - bannerAtOne.right();
    fit.bannerScale =
        std::min(scale, std::max(0.1, double(fit.client.width() - margin) / (bannerAtOne.right() + 1)));
    // Where the page has too little height, the banner leaves it what it can.
    if (fit.client.height() < design.height())
        fit.bannerScale = std::min(fit.bannerScale, 1.0);
    fit.banner = pixels(layout::kBannerArea, fit.bannerScale);
    const int up = pixels(layout::kBannerArea, scale).bottom() - fit.banner.bottom();
    fit.counter.translate(right, -up);
    for (QRect& button : fit.command1)
        button.translate(right, bottom);
    fit.pageArea.setTop(pageArea.top() - up);
    fit.pageArea.setRight(pageArea.right() + right);
    fit.pageArea.setBottom(pageArea.bottom() + bottom);
    return fit;
}

QSize clientRoom(QWidget& window, int menuBarHeight)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    QSize room = screen->availableGeometry().size();
    const QRect frame = window.frameGeometry();
    const QRect inside = window.geometry();
    if (window.testAttribute(Qt::WA_WState_Created) && frame != inside) {
        room -= frame.size() - inside.size();
    } else {
        const QStyle* style = window.style();
        const int titleBar = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
        const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
        room -= QSize(2 * border, titleBar + border);
    }
    room.rheight() -= menuBarHeight;
    return room;
}

}  // namespace vinkring
