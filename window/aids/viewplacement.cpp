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
    // Over the wizard: as narrow as it may be, against the screen's right
    // edge (over the ends of the fields' lines, the wizard's least used part)
    // or else its left, in each stretch of that column that keeps clear of
    // keep (the menu bar, the counter, the buttons) and holds its least height.
    const int narrow = std::min(size.width(), smallest.width());
    for (const int x : {screen.right() - narrow + 1, screen.left()}) {
        const QRect column(x, screen.top(), narrow, screen.height());
        places.emplace_back(x, top, narrow, size.height());
        std::vector<std::pair<int, int>> blocked;  // top and bottom, with the gap
        for (const QRect& kept : keep) {
            if (column.intersects(kept))
                blocked.emplace_back(kept.top() - kGap, kept.bottom() + kGap);
        }
        std::sort(blocked.begin(), blocked.end());
        int from = screen.top();
        blocked.emplace_back(screen.bottom() + 1, screen.bottom() + 1);
        for (const auto& [blockTop, blockBottom] : blocked) {
            const int room = blockTop - from;
            if (room >= smallest.height()) {
                const int height = std::min(size.height(), room);
                places.emplace_back(x, within(wizard.top(), height, from, blockTop - 1), narrow, height);
            }
            from = std::max(from, blockBottom + 1);
        }
    }

    // Over the wizard, the first place that covers least of keep.
    const auto covered = [&](const QRect& place) {
        qint64 kept = 0;
        for (const QRect& button : keep)
            kept += area(place.intersected(button));
        return std::pair{kept, place.intersects(wizard)};
    };
    return *std::min_element(places.begin(), places.end(),
                             [&](const QRect& a, const QRect& b) { return covered(a) < covered(b); });
}

}  // namespace vinkring
