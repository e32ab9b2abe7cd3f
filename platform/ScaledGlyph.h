#pragma once
// Which pixel of the 16 x 16 check glyph a pixel of the glyph shown `size` x `size` takes: the one
// under its centre (nearest neighbour). Only the glyph's own pixels appear, so the mark keeps its
// two colours at every size; at 16 every pixel is its own, and at 32 each is doubled.

#include <cstdint>

namespace popupmenu {

inline constexpr std::int32_t kCheckGlyphSize = 16;

// The glyph's row or column for row or column `index` (0 to size - 1) of the glyph shown at `size`.
constexpr std::int32_t glyphSourceIndex(std::int32_t index, std::int32_t size) {
    if (size <= 0) return 0;
    const std::int64_t source = (2 * static_cast<std::int64_t>(index) + 1) * kCheckGlyphSize / (2 * static_cast<std::int64_t>(size));
    return static_cast<std::int32_t>(source < 0 ? 0 : source >= kCheckGlyphSize ? kCheckGlyphSize - 1 : source);
}

}  // namespace popupmenu
