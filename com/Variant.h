#pragma once
// The automation values clients pass as VARIANTs, as the collection takes them.

#include <windows.h>
#include <oaidl.h>

#include "model/Value.h"

namespace popupmenu::com {

// Reads a VARIANT of any automation type, by value or by reference (VT_BYREF, also a reference to
// a VARIANT, as script hosts pass their variables). Numbers keep their value (currency and
// decimal as a double); an omitted optional argument (VT_ERROR holding DISP_E_PARAMNOTFOUND, or
// no VARIANT at all) is missing; objects and arrays are objects: neither a number nor a key.
Value valueOf(const VARIANT* variant);

}  // namespace popupmenu::com
