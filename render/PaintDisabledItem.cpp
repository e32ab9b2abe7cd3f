#include <algorithm>

#include "render/CheckGlyph.h"
#include "render/Coordinates.h"
#include "render/DisabledImage.h"
#include "render/MemorySurface.h"
#include "render/PainterRules.h"
#include "render/Pixels.h"

namespace popupmenu {
namespace {

constexpr std::int32_t kEmbossedSize = 16;
// The embossed picture is placed one pixel up and left of where other pictures go; its white
// highlight, one pixel right and down, lines up with them.
constexpr std::int32_t kEmbossedOffset = 1;
constexpr std::int32_t kGreyLabelLeft = 22;
constexpr std::int32_t kGreyLabelTop = 2;
constexpr ColorRef kWhite = 0xFFFFFF;

// The normal picture, embossed. The image list draws only into a device context, so the picture
// is drawn over the menu colour into a 16 x 16 surface whose pixels are read once; the surface is
// released right after. The embossed image is composed over the menu colour in memory and output
// into the item in one call. Only its 16 x 16 go out: the rest of the 20 x 20 picture area keeps
// what the item showed.
void paintEmbossedPicture(const PaintRequest& request, ColorRef grayText) {
    Platform& platform = request.context.platform;
    const ColorRef menu = platform.getSysColor(win::COLOR_MENU);
    PixelImage embossed{kEmbossedSize, kEmbossedSize, pixelOfColor(menu)};
    {
        MemorySurface surface{platform, kEmbossedSize, kEmbossedSize};
        if (!surface.ready() || !embossed.ready()) return;
        const PixelView picture = surface.pixels();
        std::fill_n(picture.bits, static_cast<std::size_t>(kEmbossedSize) * kEmbossedSize, pixelOfColor(menu));
        platform.imageListDraw(request.context.imageList, request.item.NormalPictureIndex(), surface.dc(), 0, 0,
                               win::ILD_TRANSPARENT);
        surface.finishDrawing();
        DrawImageDisabled(kEmbossedSize, kEmbossedSize, picture, embossed.view(), menu, grayText);
    }
    outputIntoItem(request, offsetBy(request.rcItem.left, kEmbossedOffset), offsetBy(request.rcItem.top, kEmbossedOffset),
                   embossed.view());
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
    const bool highContrast = request.context.highContrast;
    // In high contrast nothing of an earlier paint (a highlight) may show through.
    const ColorRef menu = highContrast ? platform.getSysColor(win::COLOR_MENU) : 0;
    if (highContrast) paintSolid(platform, request.hDC, request.rcItem, menu);

    if (pbChecked) {
        const std::int32_t checkedPicture = request.item.CheckedPictureIndex();
        if (checkedPicture >= 0)
            drawPictureIfFits(request, checkedPicture);  // in full colour
        else if (highContrast)
            drawCheckInColor(request, grayText, menu);
        else
            paintEmbossedCheck(request);
    } else if (hasDrawableNormalPicture(request)) {
        paintEmbossedPicture(request, grayText);
    }

    // High contrast: one grey label, which DrawMenuItem draws where every label goes.
    if (highContrast) {
        platform.setTextColor(request.hDC, grayText);
        return;
    }
    // The grey copy of the label; DrawMenuItem draws the white one a pixel right and down.
    Rect label{offsetBy(request.rcItem.left, kGreyLabelLeft), offsetBy(request.rcItem.top, kGreyLabelTop),
               request.rcItem.right, request.rcItem.bottom};
    platform.setTextColor(request.hDC, grayText);
    platform.drawText(request.hDC, request.item.Text(), label, request.labelFormat);
    platform.setTextColor(request.hDC, kWhite);
}

}  // namespace popupmenu
