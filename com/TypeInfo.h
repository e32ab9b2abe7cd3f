#pragma once
// The type library embedded in this module and the type information IDispatch serves from it.

#include <windows.h>
#include <oaidl.h>

#include <span>

namespace popupmenu::com {

// Loads the type library from this module's own TYPELIB resource (without registering it).
HRESULT loadTypeLibrary(ITypeLib** library) noexcept;

// The two views of a dual interface: the dispatch view (TKIND_DISPATCH), which GetTypeInfo hands
// to clients, and the vtable view (TKIND_INTERFACE), whose slots DispInvoke calls. Both are loaded
// once per process and kept until the module may unload.
enum class View { Dispatch, Vtable };
HRESULT interfaceTypeInfo(REFIID iid, View view, ITypeInfo** typeInfo) noexcept;

// Lets go of the cached type information; called when the module is about to be unloaded.
void releaseTypeInfo() noexcept;

// IDispatch::Invoke on `instance` (the interface pointer whose vtable `vtableView` describes),
// through DispInvoke, with the forms script languages write that DispInvoke alone refuses:
// - a by-reference argument whose type differs from the parameter's (script hosts pass every
//   variable as VT_BYREF|VT_VARIANT, also to `long*`) is passed as a copy of its value;
// - a property get called like a method (JScript's `c("key")` and `c.MenuItem("key")` ask for
//   DISPATCH_METHOD alone) reads the property;
// - a method of `methodsReadAsProperties` read like a property (JScript's `m.MenuItems` and
//   `c.Count` ask for DISPATCH_PROPERTYGET alone) is called. Only methods without arguments or
//   effects are read so: reading never acts, so `m.PopUp` and `c.Clear` without parentheses
//   stay errors in JScript, where they would otherwise open a menu or empty the collection.
HRESULT invokeDual(void* instance, ITypeInfo* vtableView, std::span<const DISPID> methodsReadAsProperties,
                   DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                   UINT* argumentError) noexcept;

}  // namespace popupmenu::com
