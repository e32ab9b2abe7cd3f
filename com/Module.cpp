#include "com/Module.h"

#include <atomic>

#include "platform/win32/Win32Platform.h"

namespace popupmenu::com {
namespace {

HINSTANCE module = nullptr;
std::atomic<long> liveObjects{0};
std::atomic<long> locks{0};

}  // namespace

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

// Only bookkeeping runs here, under the loader lock: the module handle for registration and the
// type library, the module the CHECK bitmap is loaded from, and on unloading the hidden owner's
// window class. The per-thread PopupState needs nothing: each thread's record is created at its
// first use and destroyed when the thread ends or the DLL is unloaded (see CMakeLists.txt).
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        popupmenu::com::module = instance;
        popupmenu::Win32Platform::setResourceModule(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded (FreeLibrary) while the process goes on: a class left behind would name a module
        // that is gone. When the process is ending, nothing may be called and nothing needs to be.
        popupmenu::Win32Platform::unregisterOwnerWindowClass();
    }
    return TRUE;
}
