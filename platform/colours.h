#pragma once
// Colours that stay readable on the palette of the desktop's theme.

#include <QColor>

namespace vinkring {

// colour where it stands out enough from background (a contrast ratio of
// at least minimum, as WCAG measures it); else its hue made lighter on a dark
// background or darker on a light one until it does.
QColor readableOn(const QColor& colour, const QColor& background, double minimum = 4.5);

}  // namespace vinkring
