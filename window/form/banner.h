#pragma once
#include <QPixmap>

namespace vinkring {

// The 625 by 90 banner across the top of the window, grown by scale with the
// window, drawn for the given device pixel ratio.
QPixmap makeBanner(qreal devicePixelRatio, qreal scale = 1.0);

}  // namespace vinkring
