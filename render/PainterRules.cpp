#include "render/PainterRules.h"

#include <algorithm>
#include <vector>

#include "platform/Owned.h"
#include "render/CheckGlyph.h"
#include "render/Coordinates.h"
#include "render/MemorySurface.h"

namespace popupmenu {

bool picturesFit(const RenderContext& context) {
    return context.iconWidth <= kLargestPicture && context.iconHeight <= kLargestPicture;
}

bool hasDrawableNormalPicture(const PaintRequest& request) {
    return request.context.imageList > 0 && request.item.NormalPictureIndex() >= 0 && picturesFit(request.context);
}

void drawPictureIfFits(const PaintRequest& request, std::int32_t index) {
    if (!picturesFit(request.context)) return;
    request.context.platform.imageListDraw(request.context.imageList, index, request.hDC,
                                           offsetBy(request.rcItem.left, kPictureOffset),
                                           offsetBy(request.rcItem.top, kPictureOffset), win::ILD_TRANSPARENT);
}

void paintSolid(Platform& platform, Handle dc, const Rect& area, ColorRef color) {
    OwnedGdiObject pen{platform, platform.createPen(win::PS_SOLID, 1, color)};
    OwnedGdiObject brush{platform, platform.createSolidBrush(color)};
    // Without either object the rectangle would show the DC's own pen or brush: paint nothing.
    if (!pen || !brush) return;
    SelectionGuard keepPen{platform, dc, pen.get()};
    SelectionGuard keepBrush{platform, dc, brush.get()};
    platform.rectangle(dc, area.left, area.top, area.right, area.bottom);
    // Leaving the scope puts back the brush and the pen, then deletes the brush and the pen.
}

void drawCheckIntoItem(const PaintRequest& request, std::uint32_t rop) {
    const std::int32_t x = offsetBy(request.rcItem.left, kPictureOffset);
    const std::int32_t y = offsetBy(request.rcItem.top, kPictureOffset);
    const Rect visible = clipTo(request.rcItem, x, y, CheckGlyph::kSize, CheckGlyph::kSize);
    if (isEmpty(visible)) return;
    request.context.platform.drawCheckGlyph(request.hDC, visible.left, visible.top, widthOf(visible),
                                            heightOf(visible), visible.left - x, visible.top - y, rop);
}

void drawCheckInColor(const PaintRequest& request, ColorRef color, ColorRef ground) {
    // The glyph's pixels are copied once into a surface and recoloured in memory: a raster
    // operation that takes the colour from a brush was measured to draw nothing under Wine.
    Platform& platform = request.context.platform;
    PixelImage check{CheckGlyph::kSize, CheckGlyph::kSize};
    {
        MemorySurface surface{platform, CheckGlyph::kSize, CheckGlyph::kSize};
        if (!surface.ready() || !check.ready()) return;
        if (!platform.drawCheckGlyph(surface.dc(), 0, 0, CheckGlyph::kSize, CheckGlyph::kSize, 0, 0, win::SRCCOPY))
            return;  // no glyph: draw nothing, as a failed copy of the glyph draws nothing
        surface.finishDrawing();
        const PixelView glyph = surface.pixels();
        const PixelView out = check.view();
        for (std::int32_t y = 0; y < CheckGlyph::kSize; ++y)
            for (std::int32_t x = 0; x < CheckGlyph::kSize; ++x)
                out.at(x, y) = pixelOfColor(colorOfPixel(glyph.at(x, y)) == 0 ? color : ground);  // black: the mark
    }
    outputIntoItem(request, offsetBy(request.rcItem.left, kPictureOffset), offsetBy(request.rcItem.top, kPictureOffset),
                   check.view());
}

void outputIntoItem(const PaintRequest& request, std::int32_t x, std::int32_t y, const PixelView& image) {
    if (image.bits == nullptr) return;
    const Rect visible = clipTo(request.rcItem, x, y, image.width, image.height);
    if (isEmpty(visible)) return;
    Platform& platform = request.context.platform;
    const std::int32_t width = widthOf(visible), height = heightOf(visible);
    if (width == image.width && height == image.height) {
        platform.setDIBitsToDevice(request.hDC, visible.left, visible.top, width, height, image.bits);
        return;
    }
    // Only the part inside the item goes out: its rows, one after the other.
    const std::int32_t left = visible.left - x, top = visible.top - y;
    std::vector<std::uint32_t> part(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::int32_t row = 0; row < height; ++row)
        std::copy_n(&image.at(left, top + row), width, &part[static_cast<std::size_t>(row) * width]);
    platform.setDIBitsToDevice(request.hDC, visible.left, visible.top, width, height, part.data());
}

void fillIntoItem(const PaintRequest& request, const Rect& area, ColorRef color) {
    const Rect visible = clipTo(request.rcItem, area.left, area.top, widthOf(area), heightOf(area));
    if (isEmpty(visible)) return;
    PixelImage fill{widthOf(visible), heightOf(visible), pixelOfColor(color)};
    if (fill.ready()) outputIntoItem(request, visible.left, visible.top, fill.view());
}

}  // namespace popupmenu
