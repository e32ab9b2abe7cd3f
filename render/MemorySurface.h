#pragma once
// A work surface for drawing that only the platform can do (an image list draws only into a device
// context): a memory device context compatible with the screen, holding a 32-bit top-down DIB
// section of a given size whose pixels the renderer then reads directly.
//
// Everything the surface makes is released when it goes out of scope: the memory DC is deleted
// first, which lets go of the bitmap it holds, then the bitmap. So the bitmap is never deleted
// while a DC holds it, and no call is spent selecting it out.

#include <cstdint>

#include "platform/Owned.h"
#include "platform/Platform.h"
#include "render/Pixels.h"

namespace popupmenu {

class MemorySurface {
public:
    MemorySurface(Platform& platform, std::int32_t width, std::int32_t height);
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;

    // True when the DC, the bitmap and its selection were all made; a surface that is not ready
    // must be neither drawn into nor read.
    bool ready() const { return bits_ != nullptr; }
    Handle dc() const { return hMemDC_.get(); }
    // The pixels, valid only while the surface is ready. Call `finishDrawing` after the platform
    // drew into the surface and before reading them.
    PixelView pixels() const { return {bits_, width_, height_}; }
    void finishDrawing();

private:
    Platform& platform_;
    std::int32_t width_;
    std::int32_t height_;
    OwnedGdiObject hBitmap_;  // declared before the DC: released after it
    OwnedDC hMemDC_;
    std::uint32_t* bits_ = nullptr;
};

}  // namespace popupmenu
