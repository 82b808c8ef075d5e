#include "window/form/fontlayout.h"

#include <algorithm>

#include <QApplication>
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

namespace {

// A smaller banner than this is hard to read: it goes.
constexpr double kLeastBannerScale = 0.45;

}  // namespace

ClientLayout layOutClient(double scale, QSize client, int pagesWant)
{
    using layout::pixels;
    ClientLayout fit;
    const QSize design = pixels(layout::kClientArea, scale).size();
    const int right = client.width() - design.width();    // how far right-hand parts move
    const int bottom = client.height() - design.height();  // and the bottom ones
    fit.counter = pixels(layout::kCounterArea, scale).translated(right, 0);
    for (std::size_t i = 0; i < fit.command1.size(); ++i)
        fit.command1[i] = pixels(layout::kCommand1[i], scale).translated(right, bottom);
    const QRect pageArea = pixels(layout::kPageArea, scale);
    fit.pageArea = pageArea.adjusted(0, 0, right, bottom);

    // The banner as wide as the room leaves, with the design's margin at 1.
    const QRect bannerAtOne = pixels(layout::kBannerArea);
    const int margin = pixels(layout::kClientArea).width() - (bannerAtOne.right() + 1);
    double bannerScale = std::min(scale, std::max(0.1, double(client.width() - margin) / (bannerAtOne.right() + 1)));
    const int fullBottom = pixels(layout::kBannerArea, scale).bottom();
    int up = fullBottom - pixels(layout::kBannerArea, bannerScale).bottom();
    // What the pages want beyond what they get; beyond the design no more
    // than the window has beyond it, so that the design holds at its size.
    int missing = pagesWant - (fit.pageArea.height() + up);
    if (bottom >= 0)
        missing = std::min(missing, bottom);
    if (missing > 0) {
        const int bannerBottom = fullBottom - up - missing;
        bannerScale = std::min(bannerScale, double(bannerBottom) * 15 / (layout::kBannerArea.top + layout::kBannerArea.height));
    }
    if (bannerScale >= kLeastBannerScale) {
        fit.bannerScale = bannerScale;
        fit.banner = pixels(layout::kBannerArea, bannerScale);
        // In a wider window it keeps its place against the page area's middle.
        if (right > 0)
            fit.banner.translate(right / 2, 0);
        up = fullBottom - fit.banner.bottom();
        fit.counter.translate(0, -up);
        fit.pageArea.setTop(pageArea.top() - up);
        return fit;
    }
    // No banner: the pages from the top, with the margin they have at the
    // left; the counter beside "<", as far from it as "<" is from the edge.
    fit.bannerScale = 0;
    fit.pageArea.setTop(pageArea.left());
    fit.counterBelow = true;
    const QRect& previous = fit.command1[0];
    const int gap = client.width() - fit.command1[3].right();
    fit.counter.moveRight(previous.left() - gap);
    fit.counter.moveTop(previous.top() + (previous.height() - fit.counter.height()) / 2);
    return fit;
}

QSize clientRoom(QWidget& window, int menuBarHeight)
{
    // A dialog not yet shown opens on its parent's screen.
    const bool created = window.testAttribute(Qt::WA_WState_Created);
    const QScreen* screen = created || !window.parentWidget() ? window.screen() : window.parentWidget()->screen();
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

int FontScaledStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    const int size = QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
    case PM_SmallIconSize:
    case PM_ButtonIconSize:
    case PM_MessageBoxIconSize:
    case PM_ListViewIconSize:
    case PM_ToolBarIconSize:
    case PM_TabBarIconSize:
    case PM_LargeIconSize: {
        const QFont font = widget ? widget->font() : QApplication::font();
        const QScreen* screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
        return qRound(size * windowScale(font, screen ? screen->logicalDotsPerInchY() : 96));
    }
    default:
        return size;
    }
}

}  // namespace vinkring
