#include <algorithm>

#include "render/Coordinates.h"
#include "render/Gradient.h"
#include "render/Pixels.h"
#include "render/PainterRules.h"

namespace popupmenu {
namespace {

// The sizes are for 96 DPI; each is scaled to the pop-up's DPI.
// A selected item with a normal picture keeps this many columns at its left for the picture frame.
constexpr std::int32_t kFramedInset = 21;
constexpr std::int32_t kGradientHeight = 20;
constexpr std::int32_t kFrameWidth = 20;
constexpr std::int32_t kEdgeWidth = 19;
constexpr std::int32_t kEdgeHeight = 20;
// dest = dest OR (NOT source): the glyph's black mark turns white, its white ground changes nothing.
constexpr std::uint32_t kMergePaint = 0x00BB0226;

// The gradient from the highlight colour to the menu colour, `w` columns wide, placed at
// `rcItem.left` + inset. Only the part inside the item is composed, in memory, and output in one
// call: the gradient is at most 20 pixels high, and whatever lies beyond it in the item keeps what
// was there.
void paintHighlightGradient(const PaintRequest& request, std::int32_t inset, ColorRef highlight, ColorRef menu) {
    const std::int32_t w = offsetBy(request.rcItem.right, -static_cast<std::int64_t>(inset));
    if (w <= 0) return;
    const std::int32_t x = offsetBy(request.rcItem.left, inset);
    const Rect visible = clipTo(request.rcItem, x, request.rcItem.top, w, scaled(kGradientHeight, request.context.dpi));
    if (isEmpty(visible)) return;
    PixelImage gradient{widthOf(visible), heightOf(visible)};
    if (!gradient.ready()) return;
    paintGradient(gradient.view(), highlight, menu, w, visible.left - x);
    outputIntoItem(request, visible.left, visible.top, gradient.view());
}

// A white check over whatever the item shows.
void paintWhiteCheck(const PaintRequest& request) { drawCheckIntoItem(request, kMergePaint); }

// The image column of a picture: menu colour down the item's height (20 columns; the column
// between it and the gradient keeps what it showed), a raised edge 20 pixels high around the
// picture, then the picture.
//
// The column and its edge are placed from rcItem.left and kept inside the item, like the picture
// they frame and the gradient beside them, rather than at x = 0 of the device context. The two
// agree in every real menu, where rcItem.left is 0. Where it is not (an item drawn at an offset
// into a larger surface), a frame at x = 0 would leave the picture outside its frame and paint
// over whatever lies left of the item, which is not this item's to paint.
void paintFramedPicture(const PaintRequest& request, ColorRef menu) {
    Platform& platform = request.context.platform;
    const Rect& rc = request.rcItem;
    const std::uint32_t dpi = request.context.dpi;
    fillIntoItem(request, {rc.left, rc.top, offsetBy(rc.left, scaled(kFrameWidth, dpi)), rc.bottom}, menu);
    platform.drawEdge(request.hDC,
                      {rc.left, rc.top, offsetBy(rc.left, scaled(kEdgeWidth, dpi)),
                       std::min(offsetBy(rc.top, scaled(kEdgeHeight, dpi)), rc.bottom)},
                      win::BDR_RAISEDINNER, win::BF_RECT);
    // Inside the edge the frame shows nothing but the menu colour.
    const Rect insideEdge{offsetBy(rc.left, 1), offsetBy(rc.top, 1), offsetBy(rc.left, scaled(kEdgeWidth, dpi) - 1),
                          std::min(offsetBy(rc.top, scaled(kEdgeHeight, dpi)), rc.bottom) - 1};
    drawPictureOverMenuColour(request, request.item.NormalPictureIndex(), menu, insideEdge);
}

// High contrast: the row in one flat highlight colour, from the item's left edge, or beside the
// picture's frame when there is one.
void paintFlatHighlight(const PaintRequest& request, bool framed, ColorRef highlight) {
    const Rect& rc = request.rcItem;
    const std::int32_t left = framed ? offsetBy(rc.left, scaled(kFramedInset, request.context.dpi)) : rc.left;
    fillIntoItem(request, {left, rc.top, rc.right, rc.bottom}, highlight);
}

}  // namespace

void PaintSelectedItem(const PaintRequest& request, bool pbChecked) {
    Platform& platform = request.context.platform;
    const ColorRef highlight = platform.getSysColor(win::COLOR_HIGHLIGHT);
    const ColorRef menu = platform.getSysColor(win::COLOR_MENU);
    const bool highContrast = request.context.highContrast;
    // The inset follows the normal picture, also when the item shows its checked state. In high
    // contrast it follows the frame, which a checked item does not show.
    const bool framed = hasDrawableNormalPicture(request);
    if (highContrast)
        paintFlatHighlight(request, framed && !pbChecked, highlight);
    else
        paintHighlightGradient(request, framed ? scaled(kFramedInset, request.context.dpi) : 0, highlight, menu);

    if (pbChecked) {
        const std::int32_t checkedPicture = request.item.CheckedPictureIndex();
        if (checkedPicture >= 0)
            drawPictureIfFits(request, checkedPicture);
        else if (highContrast)
            drawCheckInColor(request, platform.getSysColor(win::COLOR_HIGHLIGHTTEXT), highlight);
        else
            paintWhiteCheck(request);
    } else if (framed) {
        paintFramedPicture(request, menu);
    }

    platform.setTextColor(request.hDC, platform.getSysColor(win::COLOR_HIGHLIGHTTEXT));
}

}  // namespace popupmenu
