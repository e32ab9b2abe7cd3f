#pragma once
// The DPI a pop-up is shown at, read once when it opens, and the thread's DPI awareness while it
// is open.
//
// A host that is not per-monitor DPI aware (a script host, most 32-bit office programs) would
// have its menu drawn at 96 DPI and stretched as a bitmap by Windows: blurred on every display
// above 100 %. For the pop-up's lifetime its thread is made per-monitor aware instead (version 2
// where the platform has it, else version 1), so the menu window is made at the display's real
// DPI and the library draws every pixel itself; the host's own awareness comes back when the
// pop-up has closed. The DPI is then the one of the monitor where the menu opens, the cursor's:
// a window of a host that is not aware reports 96 whatever the display.
//
// A per-monitor aware host, and a platform that has no per-thread awareness at all (Windows
// before 10), keep the thread as it is; the DPI is then the owner window's, or without that the
// system's.

#include <cstdint>

#include "platform/Platform.h"

namespace popupmenu {

class PopupDpi {
public:
    // The largest DPI a pop-up is laid out at (eight times the base); a platform that reports
    // more is taken at this one.
    static constexpr std::uint32_t kLargestDpi = 768;

    PopupDpi(Platform& platform, Handle owner, const Point& cursor);
    PopupDpi(const PopupDpi&) = delete;
    PopupDpi& operator=(const PopupDpi&) = delete;
    // Gives the thread back the awareness it had, when it was changed.
    ~PopupDpi();

    std::uint32_t dpi() const noexcept { return dpi_; }

private:
    Platform& platform_;
    std::intptr_t previousContext_ = 0;  // the thread's own context while it is replaced; 0: unchanged
    std::uint32_t dpi_;
};

}  // namespace popupmenu
