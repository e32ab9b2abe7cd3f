#pragma once
// The check glyph: the 16 x 16 CHECK bitmap of the module's resources, black mark on white. Copies
// with a raster operation read it straight from the resource (Platform::drawCheckGlyph); the
// embossed check needs it as a bitmap, loaded for that use and released right after, so nothing
// outlives a paint.

#include <cstdint>

#include "platform/Owned.h"
#include "platform/Platform.h"

namespace popupmenu {

class CheckGlyph {
public:
    static constexpr std::int32_t kSize = 16;

    explicit CheckGlyph(Platform& platform) : bitmap_(platform, platform.loadCheckBitmap()) {}
    Handle bitmap() const { return bitmap_.get(); }

private:
    OwnedGdiObject bitmap_;
};

}  // namespace popupmenu
