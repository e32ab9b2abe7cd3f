#pragma once
// The class factories DllGetClassObject hands out, one per creatable class.

#include <windows.h>

namespace popupmenu::com {

// A factory for `clsid` with the interface `iid`; CLASS_E_CLASSNOTAVAILABLE for a class that is
// not one of this library's three.
HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** object) noexcept;

}  // namespace popupmenu::com
