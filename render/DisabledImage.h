#pragma once
// The embossed look of a disabled item's picture, computed in memory.
//
// Each source pixel falls into one class, tested in this order: light (its colour value, taken as
// a signed 32-bit number, is above 0xFFFFF0), menu-coloured (equal to the menu colour), ink
// (everything else). Three images of the source's size are derived from it:
//
//   class          mask       ink               highlight
//   light          white      menu colour       menu colour
//   menu-coloured  white      black             the source pixel
//   ink            black      gray-text colour  white
//
// and composed into the destination in this order: the highlight copied one pixel right and down,
// the mask AND-ed in, the ink OR-ed in. Ink pixels end up in the gray-text colour with a white
// copy one pixel to the right and below; menu-coloured and light pixels show the shifted highlight.

#include <cstdint>

#include "platform/Platform.h"
#include "render/Pixels.h"

namespace popupmenu {

enum class PixelClass { Light, MenuColored, Ink };

PixelClass classifyPixel(ColorRef color, ColorRef menuColor);

// Draws the `lWidth` x `lHeight` image at (0, 0) of `source` embossed into `destination` at (0, 0),
// changing pixels from (0, 0) to (lWidth, lHeight) inclusive (the shifted highlight reaches one
// column and one row beyond the image). Nothing is read outside `source` or written outside
// `destination`.
void DrawImageDisabled(std::int32_t lHeight, std::int32_t lWidth, const PixelView& source,
                       const PixelView& destination, ColorRef menuColor, ColorRef grayTextColor);

}  // namespace popupmenu
