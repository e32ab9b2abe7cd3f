#include "com/Module.h"

#include <atomic>

#include "platform/win32/Win32Platform.h"

namespace popupmenu::com {
namespace {

HINSTANCE module = nullptr;
std::atomic<long> liveObjects{0};
std::atomic<long> locks{0};

}  // namespace

void setModuleHandle(HINSTANCE instance) noexcept { module = instance; }
HINSTANCE moduleHandle() noexcept { return module; }

std::wstring modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // truncated: try again with room for a longer path
    }
}

void objectCreated() noexcept { ++liveObjects; }
void objectDestroyed() noexcept { --liveObjects; }
void lockModule() noexcept { ++locks; }
void unlockModule() noexcept { --locks; }
bool moduleIsIdle() noexcept { return liveObjects == 0 && locks == 0; }

Platform& platform() noexcept {
    static Win32Platform thePlatform;
    return thePlatform;
}

}  // namespace popupmenu::com
