#include "window/form/pagelayout.h"

#include <algorithm>

namespace vinkring {

namespace {

// Where a piece goes across a page of this width.
QRect across(const PagePiece& piece, int width, int baseWidth, int margin)
{
    QRect r = piece.base;
    if (piece.spans)
        r.setRight(piece.base.right() + width - baseWidth);
    else if (r.right() > width - 1 - margin)
        r.setRight(std::max(r.left(), width - 1 - margin));
    return r;
}

// Each piece moves down by the growth of the pieces wholly above it.
int placeDown(const std::vector<PagePiece>& pieces, const std::vector<int>& growth, std::vector<QRect>& rects)
{
    int bottom = 0;
    for (std::size_t j = 0; j < pieces.size(); ++j) {
        int shift = 0;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (i != j && pieces[i].base.bottom() < pieces[j].base.top())
                shift += growth[i];
        }
        rects[j].translate(0, shift);
        rects[j].setHeight(rects[j].height() + growth[j]);
        bottom = std::max(bottom, rects[j].bottom() + 1);
    }
    return bottom;
}

// The growing pieces share amount: first those short of their least height
// up to it, then the rest in equal parts, the first ones a pixel more.
void share(const std::vector<PagePiece>& pieces, const std::vector<std::size_t>& growers, int amount,
           std::vector<int>& growth)
{
    if (growers.empty())
        return;
    for (std::size_t i : growers) {
        const int up = std::min(amount, std::max(0, pieces[i].least - pieces[i].base.height()));
        growth[i] += up;
        amount -= up;
    }
    const int each = amount / int(growers.size());
    const int rest = amount % int(growers.size());
    for (std::size_t k = 0; k < growers.size(); ++k)
        growth[growers[k]] += each + (int(k) < rest ? 1 : 0);
}

// They give up deficit, each no more than down to its least height.
void shrink(const std::vector<PagePiece>& pieces, const std::vector<std::size_t>& growers, int deficit,
            std::vector<int>& growth)
{
    std::vector<int> can;
    for (std::size_t i : growers)
        can.push_back(std::max(0, pieces[i].base.height() - pieces[i].least));
    while (deficit > 0) {
        const auto left = std::count_if(can.begin(), can.end(), [](int c) { return c > 0; });
        if (left == 0)
            return;
        const int part = std::max(1, deficit / int(left));
        for (std::size_t k = 0; k < growers.size() && deficit > 0; ++k) {
            const int take = std::min({part, can[k], deficit});
            growth[growers[k]] -= take;
            can[k] -= take;
            deficit -= take;
        }
    }
}

int guideIndex(const std::vector<PagePiece>& pieces)
{
    const auto it = std::find_if(pieces.begin(), pieces.end(), [](const PagePiece& p) { return p.guide; });
    return it == pieces.end() ? -1 : int(it - pieces.begin());
}

std::vector<std::size_t> growersOf(const std::vector<PagePiece>& pieces)
{
    std::vector<std::size_t> growers;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].grows)
            growers.push_back(i);
    }
    return growers;
}

}  // namespace

PagePlan planPage(const std::vector<PagePiece>& pieces, QSize base, QSize room, const GuideText& guide, int margin)
{
    PagePlan plan;
    for (const PagePiece& piece : pieces)
        plan.rects.push_back(across(piece, room.width(), base.width(), margin));
    std::vector<int> growth(pieces.size(), 0);
    const int g = guideIndex(pieces);
    if (g >= 0)
        growth[std::size_t(g)] = std::max(0, guide.heightForWidth(plan.rects[std::size_t(g)].width()) - pieces[std::size_t(g)].base.height());
    const std::vector<std::size_t> growers = growersOf(pieces);

    int contentBottom = 0;
    for (const PagePiece& piece : pieces)
        contentBottom = std::max(contentBottom, piece.base.bottom() + 1);
    const int slack = std::max(0, base.height() - margin - contentBottom);
    const int spare = room.height() - base.height() - (g >= 0 ? growth[std::size_t(g)] : 0);
    if (spare >= 0) {
        share(pieces, growers, spare, growth);
    } else {
        // Short of the design, a field keeps its least height even where
        // the design gives it less.
        int deficit = -spare - slack;
        for (std::size_t i : growers) {
            growth[i] = std::max(0, pieces[i].least - pieces[i].base.height());
            deficit += growth[i];
        }
        if (deficit > 0 && g >= 0) {
            const int whole = pieces[std::size_t(g)].base.height() + growth[std::size_t(g)];
            const int line = std::min(whole, guide.line);
            growth[std::size_t(g)] = line - pieces[std::size_t(g)].base.height();
            plan.shortGuide = line < whole;
            deficit -= whole - line;
        }
        shrink(pieces, growers, deficit, growth);
    }
    plan.height = std::max(room.height(), placeDown(pieces, growth, plan.rects) + margin);
    return plan;
}

int wantedHeight(const std::vector<PagePiece>& pieces, QSize base, int width, const GuideText& guide, int margin)
{
    int wanted = base.height();
    for (const PagePiece& piece : pieces) {
        if (piece.grows)
            wanted += std::max(0, piece.least - piece.base.height());
        else if (piece.guide)
            wanted += std::max(0, guide.heightForWidth(across(piece, width, base.width(), margin).width()) -
                                      piece.base.height());
    }
    return wanted;
}

}  // namespace vinkring
