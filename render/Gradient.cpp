#include "render/Gradient.h"

#include <algorithm>
#include <cmath>

namespace popupmenu {
namespace {

std::uint8_t channel(std::uint8_t from, std::uint8_t to, double fraction) {
    const double d = static_cast<double>(to) - static_cast<double>(from);
    // nearbyint rounds in the current mode, which is to nearest with ties to even.
    const double value = std::nearbyint(static_cast<double>(from) + fraction * d);
    // The value lies between the two end channels; the clamp only guards the conversion.
    return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
}

}  // namespace

ColorRef gradientColumnColor(ColorRef from, ColorRef to, std::int32_t x, std::int32_t w) {
    const double fraction = static_cast<double>(x) / static_cast<double>(w);
    return rgb(channel(redOf(from), redOf(to), fraction), channel(greenOf(from), greenOf(to), fraction),
               channel(blueOf(from), blueOf(to), fraction));
}

void paintGradient(const PixelView& image, ColorRef from, ColorRef to, std::int32_t w, std::int32_t firstColumn) {
    if (image.bits == nullptr || w <= 0) return;
    if (image.width <= 0 || image.height <= 0) return;
    for (std::int32_t x = 0; x < image.width; ++x)
        image.at(x, 0) = pixelOfColor(gradientColumnColor(from, to, firstColumn + x, w));
    // Every row is the same as the first.
    for (std::int32_t y = 1; y < image.height; ++y)
        std::copy_n(&image.at(0, 0), image.width, &image.at(0, y));
}

}  // namespace popupmenu
