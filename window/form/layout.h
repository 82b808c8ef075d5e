#pragma once
// Where the window puts the controls that the field table does not place, in
// twips as designed, and the conversion to pixels at the interface font's size.

#include <array>
#include <cmath>

#include <QRect>

#include "model/fieldtable.h"

namespace vinkring::layout {

// The designed rectangle in pixels, grown by scale (see windowScale). At
// scale 1, 15 twips to a pixel, exactly as designed. Above it the edges are
// rounded rather than the sizes, so that controls apart in the design stay
// apart.
inline QRect pixels(const Twips& t, double scale = 1.0)
{
    if (scale == 1.0)
        return {twipsToPixels(t.left), twipsToPixels(t.top), twipsToPixels(t.width), twipsToPixels(t.height)};
    const auto px = [scale](int twips) { return twipsToPixels(int(std::lround(twips * scale))); };
    const int left = px(t.left);
    const int top = px(t.top);
    return {left, top, px(t.left + t.width) - left, px(t.top + t.height) - top};
}

inline constexpr Twips kClientArea{0, 0, 11850, 8115};
inline constexpr Twips kBannerArea{960, 120, 9375, 1350};
inline constexpr Twips kCounterArea{9120, 1560, 2655, 255};
inline constexpr Twips kPageArea{120, 1920, 11655, 5535};
inline constexpr Twips kGuideArea{240, 240, 11175, 855};
// Command1: "<", ">", "Klembord" (on the last page), ">|".
inline constexpr std::array<Twips, 4> kCommand1{{
    {9120, 7680, 855, 375},
    {9960, 7680, 855, 375},
    {4350, 1320, 1935, 375},
    {10920, 7680, 855, 375},
}};
inline constexpr Twips kPreviewButton{240, 1320, 1935, 375};
inline constexpr Twips kSpellingButton{2295, 1320, 1935, 375};
// Below the buttons: what "Klembord" did.
inline constexpr Twips kClipboardNote{240, 1860, 11175, 285};

// The links editor on its page.
inline constexpr Twips kUrlLabel{240, 1320, 1500, 285};
inline constexpr Twips kUrlField{1800, 1290, 9735, 315};
inline constexpr Twips kDescriptionLabel{240, 1740, 1500, 285};
inline constexpr Twips kDescriptionField{1800, 1710, 9735, 315};
inline constexpr Twips kAddButton{1800, 2160, 1215, 375};
inline constexpr Twips kRemoveButton{3135, 2160, 1215, 375};
inline constexpr Twips kChangeButton{4470, 2160, 1215, 375};
inline constexpr Twips kLinkList{240, 2700, 11295, 2580};

// Labels of section fields stand 240 twips above them; those of the
// single-line fields to their left.
inline Twips labelArea(const FieldInfo& field)
{
    if (!field.multiLine)
        return {240, field.geometry.top + 15, field.geometry.left - 300, 285};
    return {field.geometry.left, field.geometry.top - 240, field.geometry.width, 240};
}

}  // namespace vinkring::layout
