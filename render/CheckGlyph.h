#pragma once
// The check glyph: the 16 x 16 CHECK bitmap of the module's resources, black mark on white, shown
// at the size of the picture box (scaled by nearest neighbour at other DPIs, so it keeps its two
// colours). Copies with a raster operation read it straight from the resource
// (Platform::drawCheckGlyph); the embossed check needs it as a bitmap, loaded at its size for that
// use and released right after, so nothing outlives a paint.

#include <cstdint>

#include "platform/Owned.h"
#include "platform/Platform.h"

namespace popupmenu {

class CheckGlyph {
public:
    CheckGlyph(Platform& platform, std::int32_t size) : bitmap_(platform, platform.loadCheckBitmap(size)) {}
    Handle bitmap() const { return bitmap_.get(); }

private:
    OwnedGdiObject bitmap_;
};

}  // namespace popupmenu
