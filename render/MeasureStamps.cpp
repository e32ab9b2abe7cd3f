#include "render/MeasureStamps.h"

#include <atomic>
#include <cstring>

namespace popupmenu {
namespace {

// Stamps are numbered across all threads: a collection popped up from two threads, each with a
// record of its own, never finds a size kept under the other thread's stamp taken for its own.
std::atomic<std::uint64_t> g_lastStamp{0};

}  // namespace

std::uint64_t MeasureStamps::stampFor(const LogFontA& font, std::uint32_t dpi) noexcept {
    // LogFontA has no padding (its layout is fixed at 60 bytes), so its bytes are its value.
    const bool same = stamp_ != 0 && !changed_ && dpi == dpi_ && std::memcmp(&font, &font_, sizeof font) == 0;
    if (!same) {
        font_ = font;
        dpi_ = dpi;
        changed_ = false;
        stamp_ = ++g_lastStamp;
    }
    return stamp_;
}

}  // namespace popupmenu
