#pragma once
// The type library embedded in this module and the type information IDispatch serves from it.

#include <windows.h>
#include <oaidl.h>

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

// IDispatch::Invoke on `instance` (the interface pointer whose vtable `vtableView` describes).
// Works around DispInvoke's refusal of a by-reference argument whose type differs from the
// parameter's (script hosts pass every variable as VT_BYREF|VT_VARIANT, also to `long*`).
HRESULT invokeDual(void* instance, ITypeInfo* vtableView, DISPID member, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) noexcept;

}  // namespace popupmenu::com
