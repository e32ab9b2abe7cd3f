#pragma once
// The font the labels are measured in: the system menu font's face, height and weight, and the
// defaults for everything else (upright, ANSI character set, default precision, quality and pitch).
//
// Reading the system's metrics costs far more than measuring a label, so the font is made once
// when a pop-up opens and handed to every measure request of that pop-up; a change of the system
// menu font shows at the next pop-up.

#include "platform/Owned.h"
#include "platform/Platform.h"
#include "render/Scale.h"

namespace popupmenu {

// Reads the system menu font for `dpi` (the one the pop-up is shown at) and makes the measuring
// font from it. When the metrics cannot be read, the font is made from an empty description; a
// font that cannot be made is a null handle.
OwnedGdiObject CreateMeasuringFont(Platform& platform, std::uint32_t dpi = kBaseDpi);

// The two steps of CreateMeasuringFont, for a caller that also needs the description (the stamp
// of measured sizes is keyed by it): reading the menu font for `dpi`, and making the font from it.
LogFontA DescribeMeasuringFont(Platform& platform, std::uint32_t dpi = kBaseDpi);
OwnedGdiObject CreateMeasuringFont(Platform& platform, const LogFontA& description);

}  // namespace popupmenu
