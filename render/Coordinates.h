#pragma once
// Rectangle arithmetic on the 32-bit coordinates the platform hands in. The records come from
// outside the library, so sums are computed wide and saturated instead of wrapping.

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/Platform.h"

namespace popupmenu {

// a + b, held to the 32-bit range.
inline std::int32_t offsetBy(std::int32_t a, std::int64_t b) {
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// The part of a `width` x `height` area placed at (x, y) that lies inside `bounds`; empty (right <=
// left or bottom <= top) when none of it does.
inline Rect clipTo(const Rect& bounds, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    return Rect{std::max(x, bounds.left), std::max(y, bounds.top), std::min(offsetBy(x, width), bounds.right),
                std::min(offsetBy(y, height), bounds.bottom)};
}

inline bool isEmpty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

inline std::int32_t widthOf(const Rect& r) { return offsetBy(r.right, -static_cast<std::int64_t>(r.left)); }
inline std::int32_t heightOf(const Rect& r) { return offsetBy(r.bottom, -static_cast<std::int64_t>(r.top)); }

}  // namespace popupmenu
