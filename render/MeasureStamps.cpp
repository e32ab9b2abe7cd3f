#include "render/MeasureStamps.h"

#include <cstring>

namespace popupmenu {

std::uint64_t MeasureStamps::stampFor(const LogFontA& font, std::uint32_t dpi) noexcept {
    // LogFontA has no padding (its layout is fixed at 60 bytes), so its bytes are its value.
    const bool same = stamp_ != 0 && !changed_ && dpi == dpi_ && std::memcmp(&font, &font_, sizeof font) == 0;
    if (!same) {
        font_ = font;
        dpi_ = dpi;
        changed_ = false;
        ++stamp_;
    }
    return stamp_;
}

}  // namespace popupmenu
