#pragma once
// A work surface: a memory device context compatible with the screen, holding a 32-bit top-down
// DIB section of a given size. The renderer composes images in the DIB's memory directly and hands
// them to the item's device context in one copy, instead of painting them call by call.
//
// Everything the surface makes is released when it goes out of scope: the bitmap is selected out
// of the memory DC first, then deleted, then the DC is deleted.

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
    ~MemorySurface();

    // True when the DC, the bitmap and its selection were all made; a surface that is not ready
    // must be neither drawn into nor copied from.
    bool ready() const { return hOldBitmap_ != 0; }
    Handle dc() const { return hMemDC_.get(); }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    // The pixels, valid only while the surface is ready. Call `finishDrawing` after the platform
    // drew into the surface and before reading them.
    PixelView pixels() const { return {bits_, width_, height_}; }
    void finishDrawing();

private:
    Platform& platform_;
    std::int32_t width_;
    std::int32_t height_;
    OwnedDC hMemDC_;
    OwnedGdiObject hBitmap_;
    Handle hOldBitmap_ = 0;
    std::uint32_t* bits_ = nullptr;
};

}  // namespace popupmenu
