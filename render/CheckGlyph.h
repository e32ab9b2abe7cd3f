#pragma once
// The check glyph: the 16 x 16 CHECK bitmap of the module's resources, black mark on white. It is
// loaded for every use and released right after, so nothing outlives a paint.

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

// The glyph selected into a memory device context of its own, as a copy needs it. The DC is
// deleted before the glyph is released; deleting it lets go of the glyph, so the bitmap is never
// deleted while a DC holds it.
class CheckGlyphDC {
public:
    explicit CheckGlyphDC(Platform& platform);

    // True when the glyph was loaded and selected; only then may it be copied from.
    bool ready() const { return selected_; }
    Handle dc() const { return dc_.get(); }

private:
    CheckGlyph glyph_;  // declared first: released last
    OwnedDC dc_;
    bool selected_ = false;
};

}  // namespace popupmenu
