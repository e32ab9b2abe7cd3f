#pragma once
// The one image format the platform reads and writes pixels in.

#include <windows.h>

#include <cstdint>

namespace popupmenu {

// The description of a top-down 32-bit image without a colour table: row 0 first, one
// 0x00RRGGBB value per pixel.
inline BITMAPINFO topDown32Bit(std::int32_t width, std::int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace popupmenu
