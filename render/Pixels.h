#pragma once
// Colours in the two forms the renderer meets: colour values (0x00BBGGRR, red in the low byte) as
// the platform's colour operations take them, and the pixels of a 32-bit DIB section (0x00RRGGBB,
// blue in the low byte, the top byte unused).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Platform.h"

namespace popupmenu {

constexpr std::uint8_t redOf(ColorRef c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t greenOf(ColorRef c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t blueOf(ColorRef c) { return static_cast<std::uint8_t>(c >> 16); }
constexpr ColorRef rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<ColorRef>(red) | static_cast<ColorRef>(green) << 8 | static_cast<ColorRef>(blue) << 16;
}

// A DIB pixel as the colour value the platform's pixel reads return: the top byte (alpha, or
// whatever a drawing operation left there) is not part of the colour.
constexpr ColorRef colorOfPixel(std::uint32_t pixel) {
    return rgb(static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
               static_cast<std::uint8_t>(pixel));
}

constexpr std::uint32_t pixelOfColor(ColorRef c) {
    return static_cast<std::uint32_t>(redOf(c)) << 16 | static_cast<std::uint32_t>(greenOf(c)) << 8 | blueOf(c);
}

// A view of pixels in DIB form, rows of `width` pixels from the top.
struct PixelView {
    std::uint32_t* bits = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;

    std::uint32_t& at(std::int32_t x, std::int32_t y) const {
        return bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

// An image composed in memory, in DIB form: the painters build what they show here and hand it to
// the device in one call. Like a surface the platform cannot make, an image of no pixels or of an
// implausible size (from a record that came from outside) is not made: it is not ready then.
class PixelImage {
public:
    static constexpr std::size_t kLargestPixelCount = std::size_t{1} << 24;

    PixelImage(std::int32_t width, std::int32_t height, std::uint32_t fill = 0) {
        if (width <= 0 || height <= 0) return;
        const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        if (count > kLargestPixelCount) return;
        pixels_.assign(count, fill);
        width_ = width;
        height_ = height;
    }

    bool ready() const { return !pixels_.empty(); }
    PixelView view() { return {pixels_.data(), width_, height_}; }

private:
    std::vector<std::uint32_t> pixels_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

}  // namespace popupmenu
