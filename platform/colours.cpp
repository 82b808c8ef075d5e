#include "platform/colours.h"

#include <algorithm>
#include <cmath>

namespace vinkring {

namespace {

// Qt has no measure of contrast: WCAG 2's relative luminance and ratio.
double luminance(const QColor& c)
{
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const QColor rgb = c.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

QColor readableOn(const QColor& colour, const QColor& background, double minimum)
{
    if (contrast(colour, background) >= minimum)
        return colour;
    const QColor hsl = colour.toHsl();
    const bool dark = luminance(background) < 0.18;
    QColor best = colour;
    for (int step = 1; step <= 20; ++step) {
        const double lightness = hsl.lightnessF() + (dark ? 1.0 - hsl.lightnessF() : -hsl.lightnessF()) * step / 20;
        best = QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), lightness);
        if (contrast(best, background) >= minimum)
            break;
    }
    return best;
}

}  // namespace vinkring
