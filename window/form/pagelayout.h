#pragma once
// How a page's controls take a page of another size than designed: width to
// the controls that reach across the page, height to its section fields.
// Plain rectangles, so that the rules can be followed without a window.

#include <functional>
#include <vector>

#include <QRect>
#include <QSize>

namespace vinkring {

struct PagePiece {
    QRect base;           // as designed at the font's scale, in the page
    bool spans = false;   // reaches across the page: its right edge keeps its distance to the page's
    bool grows = false;   // a section field (or the links list): shares the height there is
    int least = 0;        // grows: the height it keeps when the page is short (five lines)
    bool guide = false;   // the page's guide text, which wraps to the width
};

struct PagePlan {
    std::vector<QRect> rects;  // one per piece
    int height = 0;            // the page's own height: more than the room's where it scrolls
    bool shortGuide = false;   // the guide shows one line
};

// The guide's height when it wraps at a width; and that of one line.
struct GuideText {
    std::function<int(int width)> heightForWidth;
    int line = 0;
};

// The pieces of a page designed base, in a room of this size. Beyond the
// design every extra pixel of width goes to the pieces that span and every
// extra pixel of height to those that grow, in equal shares; a guide that
// needs more lines pushes what is below it down. Where the room is short,
// the empty space below the last piece goes first, then the guide gives way
// (one line), then the growing pieces down to their least height; below
// that the page is higher than the room. margin: kept at the right and the
// bottom where the room is short.
PagePlan planPage(const std::vector<PagePiece>& pieces, QSize base, QSize room, const GuideText& guide, int margin);

// The page height at which every growing piece has at least its least
// height, at this width, with the guide whole, where the page's extra
// height goes as planPage gives it: the designed height and what the pieces
// want beyond their designed heights.
int wantedHeight(const std::vector<PagePiece>& pieces, QSize base, int width, const GuideText& guide, int margin);

}  // namespace vinkring
