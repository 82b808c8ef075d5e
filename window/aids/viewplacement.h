#pragma once
// Where a window beside the wizard goes on the screen.

#include <QList>
#include <QRect>
#include <QSize>

namespace vinkring {

// The frame of a window of the wanted size beside the wizard's frame, inside
// the screen's available area: where it covers least of the wizard. Beside
// it on the right, on the left, below or above (in that order of preference),
// made narrower or lower down to smallest where that lets it cover nothing;
// else over the wizard, as narrow as smallest against the screen's right
// edge or else its left, and lower where that keeps it clear of keep (the
// wizard's menu bar, counter and buttons). Covering less of keep comes before
// covering nothing of the wizard.
QRect placeBeside(const QRect& wizard, const QRect& screen, QSize wanted, QSize smallest,
                  const QList<QRect>& keep = {});

}  // namespace vinkring
