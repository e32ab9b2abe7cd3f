#pragma once
// What the painters share: where pictures go, when the image list may be drawn from, the
// menu-coloured background, and the copies and images that go into the item.

#include <cstdint>

#include "platform/Platform.h"
#include "render/Painters.h"
#include "render/Pixels.h"

namespace popupmenu {

// Every size here is for 96 DPI; the painters scale it to the pop-up's DPI (render/Scale.h).
// Pictures and the check glyph sit this far right of and below the item's top-left corner.
inline constexpr std::int32_t kPictureOffset = 2;
// Pictures of the image list are drawn only up to this size, in both directions.
inline constexpr std::int32_t kLargestPicture = 16;

// The picture box at the pop-up's DPI: kLargestPicture scaled, the largest picture drawn and the
// size of the check glyph.
std::int32_t pictureBoxSize(const RenderContext& context);

// The size gate: the image list's pictures fit the picture box (16 x 16 at 96 DPI, 24 x 24 at 144).
bool picturesFit(const RenderContext& context);

// Where a picture of the image list goes, relative to the picture box's top-left corner. Pictures
// are drawn at their own size, never stretched, so they stay sharp: one of at most 16 pixels sits
// at the top-left of a 16-pixel area, as at 96 DPI, and that area, or a larger picture, is centred
// in the box. At 96 DPI every picture that passes the gate sits at the box's corner.
Point pictureOffsetInBox(const RenderContext& context);

// The top-left corner of the picture box in the item: kPictureOffset scaled, right of and below
// the item's corner.
Point pictureBoxOrigin(const PaintRequest& request);

// The item's normal picture can be drawn: an image list is set, the item has a normal picture and
// it passes the size gate.
bool hasDrawableNormalPicture(const PaintRequest& request);

// Draws picture `index` of the image list at the picture position, when the size gate passes. The
// image list is passed on as it is; a missing one draws nothing.
void drawPictureIfFits(const PaintRequest& request, std::int32_t index);

// The pixels the pop-up keeps of picture `index` drawn over `menu` (PictureCache), or nullptr.
const PixelView* keptPicture(const RenderContext& context, std::int32_t index, ColorRef menu);
// Draws picture `index` at the picture position, when the size gate passes, where the item shows the
// menu colour `menu` throughout `ground`: the pixels the pop-up keeps of it, in one call, when it
// keeps them and the picture lies inside `ground`; otherwise from the image list, as
// drawPictureIfFits does. Either way the item ends up with the same pixels.
void drawPictureOverMenuColour(const PaintRequest& request, std::int32_t index, ColorRef menu, const Rect& ground);
// Paints `area` in `color` with a pen and a brush of that colour, then puts the device context's
// own pen and brush back and deletes both.
void paintSolid(Platform& platform, Handle dc, const Rect& area, ColorRef color);

// Copies the check glyph to the picture position with raster operation `rop`, clipped to the
// item's rectangle: nothing outside the glyph is read and nothing outside the item is painted.
void drawCheckIntoItem(const PaintRequest& request, std::uint32_t rop);

// Draws the check glyph at the picture position with its mark in `color` and its ground in
// `ground`, clipped to the item: for high contrast, where the mark takes the text colour of its row
// and the ground is the row's flat background.
void drawCheckInColor(const PaintRequest& request, ColorRef color, ColorRef ground);

// Outputs an image composed in memory, placed at (x, y), into the item in one call, clipped to the
// item's rectangle. The pixels arrive unchanged, as a SRCCOPY of the same image would leave them.
void outputIntoItem(const PaintRequest& request, std::int32_t x, std::int32_t y, const PixelView& image);

// Paints the part of `area` that lies inside the item in `color`, as one image of that colour.
void fillIntoItem(const PaintRequest& request, const Rect& area, ColorRef color);

}  // namespace popupmenu
