#include <algorithm>
#include <vector>

#include "render/CheckGlyph.h"
#include "render/Coordinates.h"
#include "render/DisabledImage.h"
#include "render/MemorySurface.h"
#include "render/PainterRules.h"

namespace popupmenu {
namespace {

constexpr std::int32_t kEmbossedSize = 16;
// The embossed picture is copied one pixel up and left of where other pictures go; its white
// highlight, one pixel right and down, lines up with them.
constexpr std::int32_t kEmbossedOffset = 1;
constexpr std::int32_t kGreyLabelLeft = 22;
constexpr std::int32_t kGreyLabelTop = 2;
constexpr ColorRef kWhite = 0xFFFFFF;

// The normal picture, embossed. It is drawn over the menu colour into a 16 x 16 surface, whose
// pixels are then read once, turned into the embossed image over the menu colour in memory and
// copied into the item. Only the surface's 16 x 16 are copied: the rest of the 20 x 20 picture
// area keeps what the item showed.
void paintEmbossedPicture(const PaintRequest& request, ColorRef grayText) {
    Platform& platform = request.context.platform;
    const ColorRef menu = platform.getSysColor(win::COLOR_MENU);
    MemorySurface surface{platform, kEmbossedSize, kEmbossedSize};
    if (!surface.ready()) return;
    const PixelView pixels = surface.pixels();
    std::fill_n(pixels.bits, static_cast<std::size_t>(kEmbossedSize) * kEmbossedSize, pixelOfColor(menu));
    platform.imageListDraw(request.context.imageList, request.item.NormalPictureIndex(), surface.dc(), 0, 0,
                           win::ILD_TRANSPARENT);
    surface.finishDrawing();

    std::vector<std::uint32_t> picture(pixels.bits, pixels.bits + static_cast<std::size_t>(kEmbossedSize) * kEmbossedSize);
    // The surface becomes the destination: the menu colour, with the embossed picture on top.
    std::fill_n(pixels.bits, picture.size(), pixelOfColor(menu));
    DrawImageDisabled(kEmbossedSize, kEmbossedSize, {picture.data(), kEmbossedSize, kEmbossedSize}, pixels, menu,
                      grayText);

    copyIntoItem(request, offsetBy(request.rcItem.left, kEmbossedOffset), offsetBy(request.rcItem.top, kEmbossedOffset),
                 surface.dc(), surface.width(), surface.height(), win::SRCCOPY);
}

void paintEmbossedCheck(const PaintRequest& request) {
    Platform& platform = request.context.platform;
    CheckGlyph glyph{platform};
    if (!glyph.bitmap()) return;
    platform.drawStateBitmap(request.hDC, glyph.bitmap(), offsetBy(request.rcItem.left, kPictureOffset),
                             offsetBy(request.rcItem.top, kPictureOffset), win::DST_BITMAP | win::DSS_DISABLED);
}

}  // namespace

void PaintDisabledItem(const PaintRequest& request, bool pbChecked) {
    Platform& platform = request.context.platform;
    const ColorRef grayText = platform.getSysColor(win::COLOR_GRAYTEXT);

    if (pbChecked) {
        const std::int32_t checkedPicture = request.item.CheckedPictureIndex();
        if (checkedPicture >= 0)
            drawPictureIfFits(request, checkedPicture);  // in full colour
        else
            paintEmbossedCheck(request);
    } else if (hasDrawableNormalPicture(request)) {
        paintEmbossedPicture(request, grayText);
    }

    // The grey copy of the label; DrawMenuItem draws the white one a pixel right and down.
    Rect label{offsetBy(request.rcItem.left, kGreyLabelLeft), offsetBy(request.rcItem.top, kGreyLabelTop),
               request.rcItem.right, request.rcItem.bottom};
    platform.setTextColor(request.hDC, grayText);
    platform.drawText(request.hDC, request.item.Text(), label, 0);
    platform.setTextColor(request.hDC, kWhite);
}

}  // namespace popupmenu
