#include "render/CheckGlyph.h"

namespace popupmenu {

CheckGlyphDC::CheckGlyphDC(Platform& platform) : platform_(platform), glyph_(platform) {
    if (!glyph_.bitmap()) return;
    dc_ = OwnedDC(platform, platform.createCompatibleDC(0));
    if (dc_) hOldBitmap_ = platform.selectObject(dc_.get(), glyph_.bitmap());
}

CheckGlyphDC::~CheckGlyphDC() {
    if (hOldBitmap_ != 0) platform_.selectObject(dc_.get(), hOldBitmap_);
}

}  // namespace popupmenu
