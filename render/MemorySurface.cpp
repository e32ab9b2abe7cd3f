#include "render/MemorySurface.h"

namespace popupmenu {

MemorySurface::MemorySurface(Platform& platform, std::int32_t width, std::int32_t height)
    : platform_(platform), width_(width), height_(height) {
    if (width <= 0 || height <= 0) return;
    // A memory DC made without a reference DC is compatible with the screen.
    hMemDC_ = OwnedDC(platform, platform.createCompatibleDC(0));
    if (!hMemDC_) return;
    std::uint32_t* bits = nullptr;
    hBitmap_ = OwnedGdiObject(platform, platform.createDibSection(width, height, bits));
    if (!hBitmap_ || bits == nullptr) return;
    if (platform.selectObject(hMemDC_.get(), hBitmap_.get()) != 0) bits_ = bits;
}

void MemorySurface::finishDrawing() {
    // The platform may batch drawing operations; the pixels are only complete after a flush.
    platform_.gdiFlush();
}

}  // namespace popupmenu
