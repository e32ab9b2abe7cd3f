#pragma once
// Owners for platform handles: each releases its handle through the platform when it goes out of
// scope, so cleanup happens on every path, including an exception.

#include <utility>

#include "platform/Platform.h"

namespace popupmenu {

template <auto Release>
class Owned {
public:
    Owned() = default;
    Owned(Platform& platform, Handle handle) : platform_(&platform), handle_(handle) {}
    Owned(Owned&& other) noexcept
        : platform_(other.platform_), handle_(std::exchange(other.handle_, Handle{})) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset();
            platform_ = other.platform_;
            handle_ = std::exchange(other.handle_, Handle{});
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != 0; }
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset() {
        if (handle_ != 0 && platform_ != nullptr) (platform_->*Release)(std::exchange(handle_, Handle{}));
    }

private:
    Platform* platform_ = nullptr;
    Handle handle_ = 0;
};

using OwnedGdiObject = Owned<&Platform::deleteObject>;  // pens, brushes, fonts, bitmaps
using OwnedDC = Owned<&Platform::deleteDC>;              // memory device contexts
using OwnedMenu = Owned<&Platform::destroyMenu>;
using OwnedWindow = Owned<&Platform::destroyWindow>;

// Selects an object into a device context and puts the previous one back on scope exit.
class SelectionGuard {
public:
    SelectionGuard(Platform& platform, Handle dc, Handle object)
        : platform_(platform), dc_(dc), previous_(platform.selectObject(dc, object)) {}
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;
    ~SelectionGuard() { platform_.selectObject(dc_, previous_); }
    Handle previous() const { return previous_; }

private:
    Platform& platform_;
    Handle dc_;
    Handle previous_;
};

// A window's device context from GetDC, released with ReleaseDC.
class WindowDC {
public:
    WindowDC(Platform& platform, Handle hwnd) : platform_(platform), hwnd_(hwnd), dc_(platform.getDC(hwnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() { platform_.releaseDC(hwnd_, dc_); }
    Handle get() const { return dc_; }

private:
    Platform& platform_;
    Handle hwnd_;
    Handle dc_;
};

}  // namespace popupmenu
