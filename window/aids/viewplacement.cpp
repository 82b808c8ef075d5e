#include "window/aids/viewplacement.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace vinkring {

namespace {

// Between the two windows.
constexpr int kGap = 8;

qint64 area(const QRect& r)
{
    return r.isEmpty() ? 0 : qint64(r.width()) * r.height();
}

// The start of a span of length that begins at wanted, kept between low and high.
int within(int wanted, int length, int low, int high)
{
    return std::max(low, std::min(wanted, high - length + 1));
}

}  // namespace

QRect placeBeside(const QRect& wizard, const QRect& screen, QSize wanted, QSize smallest, const QList<QRect>& keep)
{
    const QSize size = wanted.boundedTo(screen.size());
    const int top = within(wizard.top(), size.height(), screen.top(), screen.bottom());
    const int left = within(wizard.left(), size.width(), screen.left(), screen.right());
    std::vector<QRect> places;

    const int rightRoom = screen.right() - (wizard.right() + kGap);
    if (rightRoom >= smallest.width())
        places.emplace_back(wizard.right() + 1 + kGap, top, std::min(size.width(), rightRoom), size.height());
    const int leftRoom = wizard.left() - kGap - screen.left();
    if (leftRoom >= smallest.width()) {
        const int width = std::min(size.width(), leftRoom);
        places.emplace_back(wizard.left() - kGap - width, top, width, size.height());
    }
    const int belowRoom = screen.bottom() - (wizard.bottom() + kGap);
    if (belowRoom >= smallest.height())
        places.emplace_back(left, wizard.bottom() + 1 + kGap, size.width(), std::min(size.height(), belowRoom));
    const int aboveRoom = wizard.top() - kGap - screen.top();
    if (aboveRoom >= smallest.height()) {
        const int height = std::min(size.height(), aboveRoom);
        places.emplace_back(left, wizard.top() - kGap - height, size.width(), height);
    }
    // Over the wizard: as narrow as it may be, rather on the left, away from
    // the navigation buttons.
    const int narrow = std::min(size.width(), smallest.width());
    for (const int x : {screen.left(), screen.right() - narrow + 1}) {
        const QRect over(x, top, narrow, size.height());
        places.push_back(over);
        // Ending above the buttons it would cover, where it keeps its least height.
        int bottom = over.bottom();
        for (const QRect& button : keep) {
            if (over.intersects(button))
                bottom = std::min(bottom, button.top() - kGap - 1);
        }
        if (bottom < over.bottom() && bottom - over.top() + 1 >= smallest.height())
            places.emplace_back(QPoint(x, over.top()), QPoint(over.right(), bottom));
    }

    const auto covered = [&](const QRect& place) {
        qint64 buttons = 0;
        for (const QRect& button : keep)
            buttons += area(place.intersected(button));
        return std::pair{buttons, area(place.intersected(wizard))};
    };
    return *std::min_element(places.begin(), places.end(),
                             [&](const QRect& a, const QRect& b) { return covered(a) < covered(b); });
}

}  // namespace vinkring
