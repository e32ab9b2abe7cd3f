#include "render/PainterRules.h"

#include <algorithm>
#include <vector>

#include "platform/Owned.h"
#include "render/CheckGlyph.h"
#include "render/Coordinates.h"
#include "render/MemorySurface.h"
#include "render/PictureCache.h"

namespace popupmenu {

std::int32_t pictureBoxSize(const RenderContext& context) { return scaled(kLargestPicture, context.dpi); }

bool picturesFit(const RenderContext& context) {
    const std::int32_t box = pictureBoxSize(context);
    return context.iconWidth <= box && context.iconHeight <= box;
}

Point pictureOffsetInBox(const RenderContext& context) {
    const std::int32_t box = pictureBoxSize(context);
    const auto centred = [box](std::int32_t extent) { return std::max(0, box - std::max(extent, kLargestPicture)) / 2; };
    return {centred(context.iconWidth), centred(context.iconHeight)};
}

Point pictureBoxOrigin(const PaintRequest& request) {
    const std::int32_t offset = scaled(kPictureOffset, request.context.dpi);
    return {offsetBy(request.rcItem.left, offset), offsetBy(request.rcItem.top, offset)};
}

bool hasDrawableNormalPicture(const PaintRequest& request) {
    return request.context.imageList > 0 && request.item.NormalPictureIndex() >= 0 && picturesFit(request.context);
}

void drawPictureIfFits(const PaintRequest& request, std::int32_t index) {
    if (!picturesFit(request.context)) return;
    const Point box = pictureBoxOrigin(request);
    const Point inBox = pictureOffsetInBox(request.context);
    request.context.platform.imageListDraw(request.context.imageList, index, request.hDC, offsetBy(box.x, inBox.x),
                                           offsetBy(box.y, inBox.y), win::ILD_TRANSPARENT);
}

const PixelView* keptPicture(const RenderContext& context, std::int32_t index, ColorRef menu) {
    if (context.pictures == nullptr) return nullptr;
    return context.pictures->find({context.imageList, context.iconWidth, context.iconHeight, menu}, index);
}

void drawPictureOverMenuColour(const PaintRequest& request, std::int32_t index, ColorRef menu, const Rect& ground) {
    if (!picturesFit(request.context)) return;
    const PixelView* kept = keptPicture(request.context, index, menu);
    if (kept != nullptr) {
        const Point box = pictureBoxOrigin(request);
        const Point inBox = pictureOffsetInBox(request.context);
        const std::int32_t x = offsetBy(box.x, inBox.x), y = offsetBy(box.y, inBox.y);
        // Where the picture would reach beyond the menu-coloured ground (over an edge, or out of
        // the item, where the image list's own drawing is not held), it is drawn from the image
        // list, as ever: its transparent pixels must show what lies there.
        const Rect visible = clipTo(ground, x, y, kept->width, kept->height);
        if (widthOf(visible) == kept->width && heightOf(visible) == kept->height) {
            request.context.platform.setDIBitsToDevice(request.hDC, x, y, kept->width, kept->height, kept->bits);
            return;
        }
    }
    drawPictureIfFits(request, index);
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
    const Point box = pictureBoxOrigin(request);
    const std::int32_t x = box.x, y = box.y;
    const std::int32_t size = pictureBoxSize(request.context);
    const Rect visible = clipTo(request.rcItem, x, y, size, size);
    if (isEmpty(visible)) return;
    request.context.platform.drawCheckGlyph(request.hDC, visible.left, visible.top, widthOf(visible),
                                            heightOf(visible), visible.left - x, visible.top - y, size, rop);
}

void drawCheckInColor(const PaintRequest& request, ColorRef color, ColorRef ground) {
    // The glyph's pixels, at the picture box's size, are copied once into a surface and recoloured
    // in memory: a raster operation that takes the colour from a brush was measured to draw
    // nothing under Wine.
    Platform& platform = request.context.platform;
    const std::int32_t size = pictureBoxSize(request.context);
    PixelImage check{size, size};
    {
        MemorySurface surface{platform, size, size};
        if (!surface.ready() || !check.ready()) return;
        if (!platform.drawCheckGlyph(surface.dc(), 0, 0, size, size, 0, 0, size, win::SRCCOPY))
            return;  // no glyph: draw nothing, as a failed copy of the glyph draws nothing
        surface.finishDrawing();
        const PixelView glyph = surface.pixels();
        const PixelView out = check.view();
        for (std::int32_t y = 0; y < size; ++y)
            for (std::int32_t x = 0; x < size; ++x)
                out.at(x, y) = pixelOfColor(colorOfPixel(glyph.at(x, y)) == 0 ? color : ground);  // black: the mark
    }
    const Point box = pictureBoxOrigin(request);
    outputIntoItem(request, box.x, box.y, check.view());
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
