#pragma once
// Self-registration: the type library, and for each class its CLSID with this module as its
// in-process server (apartment threaded), its ProgID and the links between them.

#include <windows.h>

namespace popupmenu::com {

// Machine: under HKEY_LOCAL_MACHINE\Software\Classes, the type library for every user.
// User: the same entries under HKEY_CURRENT_USER\Software\Classes, the type library for the
// current user only; needs no administrator rights.
enum class Scope { Machine, User };

HRESULT registerServer(Scope scope) noexcept;
// Removes every entry registerServer makes; entries that are already gone are no failure.
HRESULT unregisterServer(Scope scope) noexcept;

}  // namespace popupmenu::com
