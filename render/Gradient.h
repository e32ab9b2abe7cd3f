#pragma once
// The horizontal colour gradient of a selected item, computed in memory.

#include <cstdint>

#include "platform/Platform.h"
#include "render/Pixels.h"

namespace popupmenu {

// The colour of column `x` of a gradient `w` columns wide that starts at `from` and approaches
// `to` (which a column x = w would have). Per channel: from + (x / w) * (to - from) in double
// precision, rounded to the nearest integer with halves going to the even neighbour.
ColorRef gradientColumnColor(ColorRef from, ColorRef to, std::int32_t x, std::int32_t w);

// Fills every row of `image` with the gradient's columns `firstColumn` onwards.
void paintGradient(const PixelView& image, ColorRef from, ColorRef to, std::int32_t w,
                   std::int32_t firstColumn = 0);

}  // namespace popupmenu
