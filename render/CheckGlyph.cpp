#include "render/CheckGlyph.h"

namespace popupmenu {

CheckGlyphDC::CheckGlyphDC(Platform& platform) : glyph_(platform) {
    if (!glyph_.bitmap()) return;
    dc_ = OwnedDC(platform, platform.createCompatibleDC(0));
    selected_ = dc_ && platform.selectObject(dc_.get(), glyph_.bitmap()) != 0;
}

}  // namespace popupmenu
