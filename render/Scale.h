#pragma once
// Sizes at the pop-up's DPI. Every fixed size of the menu's layout is given for 96 DPI, the
// platform's base, and grows with the DPI the pop-up is shown at: size * dpi / 96, rounded to the
// nearest pixel with halves away from zero, as the platform's MulDiv rounds. At 96 DPI every size
// stays exactly what it is.

#include <cstdint>

namespace popupmenu {

inline constexpr std::uint32_t kBaseDpi = 96;

constexpr std::int32_t scaled(std::int32_t size, std::uint32_t dpi) {
    const std::int64_t product = static_cast<std::int64_t>(size) * static_cast<std::int64_t>(dpi);
    const std::int64_t half = kBaseDpi / 2;
    return static_cast<std::int32_t>(product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi));
}

}  // namespace popupmenu
