#pragma once
// What the module keeps for its whole life in a process: its own handle and file name, the count
// of live objects and factory locks that decides whether it may be unloaded, and the platform the
// objects draw and show message boxes with.

#include <windows.h>

#include <string>

#include "platform/Platform.h"

namespace popupmenu::com {

// This DLL's handle, which the entry point sets when the DLL is loaded.
void setModuleHandle(HINSTANCE instance) noexcept;
HINSTANCE moduleHandle() noexcept;
// The full path of this DLL, as registration records it and the type library is loaded from.
std::wstring modulePath();

// Every object of the three classes counts itself from construction to destruction.
void objectCreated() noexcept;
void objectDestroyed() noexcept;
// IClassFactory::LockServer.
void lockModule() noexcept;
void unlockModule() noexcept;
// True when no object is alive and no factory is locked.
bool moduleIsIdle() noexcept;

// The real platform, shared by every object of the process (it keeps no state of its own).
Platform& platform() noexcept;

}  // namespace popupmenu::com
