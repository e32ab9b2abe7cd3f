#pragma once
// Self-registration: the type library, and for each class its CLSID with this module as its
// in-process server (apartment threaded), its ProgID and the links between them.

#include <windows.h>

namespace popupmenu::com {

// Machine: under HKEY_LOCAL_MACHINE\Software\Classes, the type library for every user.
// User: the same entries under HKEY_CURRENT_USER\Software\Classes, the type library for the
// current user only; needs no administrator rights.
enum class Scope { Machine, User };

// How registration opens HKEY_LOCAL_MACHINE\Software\Classes or HKEY_CURRENT_USER\Software\Classes
// (`root`) with every right, creating it first when `create` is true: the registry's status, and
// the key in `classes` on success. Unregistration takes another one in tests, where the registry
// refuses nothing (Wine grants every right to every key).
using OpenClassesKey = LSTATUS (*)(HKEY root, bool create, HKEY* classes);
LSTATUS openClassesKey(HKEY root, bool create, HKEY* classes) noexcept;

HRESULT registerServer(Scope scope) noexcept;
// Removes every entry registerServer makes; entries that are already gone are no failure, and
// neither is a classes key that does not exist. A classes key that cannot be opened for any other
// reason (ERROR_ACCESS_DENIED for a user without administrator rights) is SELFREG_E_CLASS: the
// entries stay, and the caller must not be told they are gone.
HRESULT unregisterServer(Scope scope, OpenClassesKey openClasses = openClassesKey) noexcept;

}  // namespace popupmenu::com
