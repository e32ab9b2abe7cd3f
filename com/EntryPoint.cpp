// The DLL's entry point.

#include <windows.h>

#include "com/Module.h"
#include "platform/win32/Win32Platform.h"

// Only bookkeeping runs here, under the loader lock: the module handle for registration and the
// type library, the module the CHECK bitmap is loaded from, and on unloading the hidden owner's
// window class. The per-thread PopupState needs nothing: each thread's record is created at its
// first use and destroyed when the thread ends or the DLL is unloaded (see CMakeLists.txt).
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        popupmenu::com::setModuleHandle(instance);
        popupmenu::Win32Platform::setResourceModule(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded (FreeLibrary) while the process goes on: a class left behind would name a module
        // that is gone. When the process is ending, nothing may be called and nothing needs to be.
        popupmenu::Win32Platform::unregisterOwnerWindowClass();
    }
    return TRUE;
}
