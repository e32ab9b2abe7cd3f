#include <algorithm>

#include "render/CheckGlyph.h"
#include "render/Coordinates.h"
#include "render/DisabledImage.h"
#include "render/MemorySurface.h"
#include "render/PainterRules.h"
#include "render/Pixels.h"

namespace popupmenu {
namespace {

// The embossed picture is placed one pixel up and left of where other pictures go; its white
// highlight, one pixel right and down, lines up with them. The shift of the embossed look is one
// pixel at every DPI, as the platform's own disabled text has it.
constexpr std::int32_t kEmbossedOffset = 1;
// The grey copy of the label: one pixel left of and above the white one, which DrawMenuItem draws
// at (23, 3) at 96 DPI, scaled.
constexpr std::int32_t kGreyLabelLeft = 22;
constexpr std::int32_t kGreyLabelTop = 2;
constexpr ColorRef kWhite = 0xFFFFFF;

// The normal picture, embossed. The effect needs the picture over the menu colour at its place in
// the picture box (16 x 16 at 96 DPI), as pixels: from the pixels the pop-up keeps of it, or else,
// as the image list draws only into a device context, drawn into a surface of the box's size whose
// pixels are read once; the surface is released right after. The embossed image is composed over
// the menu colour in memory and output into the item in one call. Only the box goes out: the rest
// of the picture column keeps what the item showed.
void paintEmbossedPicture(const PaintRequest& request, ColorRef grayText) {
    Platform& platform = request.context.platform;
    const ColorRef menu = platform.getSysColor(win::COLOR_MENU);
    const std::int32_t size = pictureBoxSize(request.context);
    const Point inBox = pictureOffsetInBox(request.context);
    PixelImage embossed{size, size, pixelOfColor(menu)};
    if (!embossed.ready()) return;
    if (const PixelView* kept = keptPicture(request.context, request.item.NormalPictureIndex(), menu)) {
        // The pop-up keeps the picture as drawn over the menu colour: the box is composed from it
        // in memory, with no surface and no image list call.
        PixelImage picture{size, size, pixelOfColor(menu)};
        if (!picture.ready()) return;
        const PixelView into = picture.view();
        const std::int32_t rows = std::min(kept->height, size - inBox.y);
        const std::int32_t columns = std::min(kept->width, size - inBox.x);
        for (std::int32_t row = 0; row < rows; ++row)
            std::copy_n(&kept->at(0, row), columns, &into.at(inBox.x, inBox.y + row));
        DrawImageDisabled(size, size, into, embossed.view(), menu, grayText);
    } else {
        MemorySurface surface{platform, size, size};
        if (!surface.ready()) return;
        const PixelView picture = surface.pixels();
        std::fill_n(picture.bits, static_cast<std::size_t>(size) * static_cast<std::size_t>(size), pixelOfColor(menu));
        platform.imageListDraw(request.context.imageList, request.item.NormalPictureIndex(), surface.dc(), inBox.x,
                               inBox.y, win::ILD_TRANSPARENT);
        surface.finishDrawing();
        DrawImageDisabled(size, size, picture, embossed.view(), menu, grayText);
    }
    const Point box = pictureBoxOrigin(request);
    outputIntoItem(request, offsetBy(box.x, -kEmbossedOffset), offsetBy(box.y, -kEmbossedOffset), embossed.view());
}

void paintEmbossedCheck(const PaintRequest& request) {
    Platform& platform = request.context.platform;
    CheckGlyph glyph{platform, pictureBoxSize(request.context)};
    if (!glyph.bitmap()) return;
    const Point box = pictureBoxOrigin(request);
    platform.drawStateBitmap(request.hDC, glyph.bitmap(), box.x, box.y, win::DST_BITMAP | win::DSS_DISABLED);
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
    const std::uint32_t dpi = request.context.dpi;
    Rect label{offsetBy(request.rcItem.left, scaled(kGreyLabelLeft + 1, dpi) - 1),
               offsetBy(request.rcItem.top, scaled(kGreyLabelTop + 1, dpi) - 1), request.rcItem.right,
               request.rcItem.bottom};
    platform.setTextColor(request.hDC, grayText);
    platform.drawText(request.hDC, request.item.Text(), label, request.labelFormat);
    platform.setTextColor(request.hDC, kWhite);
}

}  // namespace popupmenu
