#include "render/DisabledImage.h"

#include <algorithm>
#include <vector>

namespace popupmenu {
namespace {

constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kBlack = 0x000000;
constexpr std::int32_t kLightAbove = 0xFFFFF0;

}  // namespace

PixelClass classifyPixel(ColorRef color, ColorRef menuColor) {
    if (static_cast<std::int32_t>(color) > kLightAbove) return PixelClass::Light;
    if (color == menuColor) return PixelClass::MenuColored;
    return PixelClass::Ink;
}

void DrawImageDisabled(std::int32_t lHeight, std::int32_t lWidth, const PixelView& source,
                       const PixelView& destination, ColorRef menuColor, ColorRef grayTextColor) {
    const std::int32_t width = std::min(lWidth, source.width);
    const std::int32_t height = std::min(lHeight, source.height);
    if (width <= 0 || height <= 0 || source.bits == nullptr || destination.bits == nullptr) return;

    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint32_t> mask(count), ink(count), highlight(count);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const ColorRef color = colorOfPixel(source.at(x, y));
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x;
            switch (classifyPixel(color, menuColor)) {
                case PixelClass::Light:
                    mask[i] = pixelOfColor(kWhite);
                    ink[i] = pixelOfColor(menuColor);
                    highlight[i] = pixelOfColor(menuColor);
                    break;
                case PixelClass::MenuColored:
                    mask[i] = pixelOfColor(kWhite);
                    ink[i] = pixelOfColor(kBlack);
                    highlight[i] = pixelOfColor(color);
                    break;
                case PixelClass::Ink:
                    mask[i] = pixelOfColor(kBlack);
                    ink[i] = pixelOfColor(grayTextColor);
                    highlight[i] = pixelOfColor(kWhite);
                    break;
            }
        }
    }

    // The highlight one pixel right and down, then the mask AND-ed and the ink OR-ed in at (0, 0):
    // a pixel that lies under both the shifted highlight and the image gets the AND and the OR of
    // its own position on top of the highlight.
    const std::int32_t shiftedWidth = std::min(width, destination.width - 1);
    const std::int32_t shiftedHeight = std::min(height, destination.height - 1);
    for (std::int32_t y = 0; y < shiftedHeight; ++y)
        for (std::int32_t x = 0; x < shiftedWidth; ++x)
            destination.at(x + 1, y + 1) = highlight[static_cast<std::size_t>(y) * width + x];
    const std::int32_t coveredWidth = std::min(width, destination.width);
    const std::int32_t coveredHeight = std::min(height, destination.height);
    for (std::int32_t y = 0; y < coveredHeight; ++y) {
        for (std::int32_t x = 0; x < coveredWidth; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x;
            destination.at(x, y) = (destination.at(x, y) & mask[i]) | ink[i];
        }
    }
}

}  // namespace popupmenu
