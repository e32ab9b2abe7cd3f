#include "engine/PopupDpi.h"

#include <algorithm>

#include "render/Scale.h"

namespace popupmenu {
namespace {

bool isDpiUnaware(int awareness) {
    return awareness == win::AWARENESS_UNAWARE || awareness == win::AWARENESS_SYSTEM_AWARE;
}

// A DPI that could not be read is the base DPI: the layout then stays as it is at 100 %.
std::uint32_t usable(std::uint32_t dpi) { return dpi == 0 ? kBaseDpi : std::min(dpi, PopupDpi::kLargestDpi); }

}  // namespace

PopupDpi::PopupDpi(Platform& platform, Handle owner, const Point& cursor) : platform_(platform), dpi_(kBaseDpi) {
    if (isDpiUnaware(platform.threadDpiAwareness())) {
        previousContext_ = platform.setThreadDpiAwarenessContext(win::PER_MONITOR_AWARE_V2_CONTEXT);
        if (previousContext_ == 0) previousContext_ = platform.setThreadDpiAwarenessContext(win::PER_MONITOR_AWARE_CONTEXT);
    }
    dpi_ = usable(previousContext_ != 0 ? platform.dpiAtPoint(cursor) : platform.dpiForWindow(owner));
}

PopupDpi::~PopupDpi() {
    if (previousContext_ != 0) platform_.setThreadDpiAwarenessContext(previousContext_);
}

}  // namespace popupmenu
