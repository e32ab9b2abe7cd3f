#pragma once
// Which font and DPI a kept item size was measured in. Measuring a label costs a text call and a
// message round trip per item; a host that shows the same menu again gets each size back from the
// item instead, as long as the label, the measuring font and the DPI are what they were.
//
// A stamp stands for one measuring font description and one DPI. The engine asks for the stamp of
// each pop-up when it opens; sizes kept under another stamp are measured anew.

#include <cstdint>

#include "platform/Platform.h"

namespace popupmenu {

class MeasureStamps {
public:
    // The stamp of sizes measured in `font` at `dpi`: the one of the last call while neither has
    // changed and no change of the system's settings was announced since, a new one otherwise.
    // Never 0.
    std::uint64_t stampFor(const LogFontA& font, std::uint32_t dpi) noexcept;
    // The system announced a change of its settings (the menu font, the DPI, font smoothing): no
    // size measured so far is used again, even where the font's description reads the same.
    void settingsChanged() noexcept { changed_ = true; }

private:
    LogFontA font_;
    std::uint32_t dpi_ = 0;
    std::uint64_t stamp_ = 0;
    bool changed_ = false;
};

}  // namespace popupmenu
