#pragma once
// Where the window puts the controls that the field table does not place, in
// twips as designed, and the conversion to pixels.

#include <array>

#include <QRect>

#include "model/fieldtable.h"

namespace vinkring::layout {

inline QRect pixels(const Twips& t)
{
    return {twipsToPixels(t.left), twipsToPixels(t.top), twipsToPixels(t.width), twipsToPixels(t.height)};
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
