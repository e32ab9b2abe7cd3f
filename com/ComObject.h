#pragma once
// A COM object over an object of the core: the core object itself also implements its dual
// interface, so a client's interface pointer and the core's counted reference are one object with
// one reference count. The IUnknown, IDispatch and ISupportErrorInfo members are the same for the
// three classes and live here.

#include <windows.h>
#include <oaidl.h>

#include <oleauto.h>

#include <utility>

#include "com/Classes.h"
#include "com/ComHandles.h"
#include "com/Failure.h"
#include "com/Module.h"
#include "com/TypeInfo.h"

namespace popupmenu::com {

// Counts a live object from before its core is constructed until after the core is destroyed, so
// the module never reports itself idle while any part of an object still runs.
class LiveObject {
public:
    LiveObject() noexcept { objectCreated(); }
    LiveObject(const LiveObject&) = delete;
    LiveObject& operator=(const LiveObject&) = delete;
    ~LiveObject() { objectDestroyed(); }
};

template <class Core, class Interface, const ClassInfo& Info>
class ComObject : private LiveObject, public Core, public Interface, public ISupportErrorInfo {
public:
    template <class... Args>
    explicit ComObject(Args&&... args) : Core(std::forward<Args>(args)...) {}

    // The interface pointer handed to a client, carrying a new reference.
    Interface* newReference() noexcept {
        Core::addRef();
        return this;
    }

    // --- IUnknown ---
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, Info.iid)) {
            *object = static_cast<Interface*>(this);
        } else if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
            *object = static_cast<ISupportErrorInfo*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        Core::addRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Core::addRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return Core::release(); }

    // --- IDispatch, served from the embedded type library ---
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) override {
        if (typeInfo == nullptr) return E_POINTER;
        *typeInfo = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return interfaceTypeInfo(Info.iid, View::Dispatch, typeInfo);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        ComPtr<ITypeInfo> info;
        const HRESULT hr = interfaceTypeInfo(Info.iid, View::Vtable, info.put());
        if (FAILED(hr)) return hr;
        return DispGetIDsOfNames(info.get(), names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        if (member == DISPID_NEWENUM) return explainDispatchFailure(Info, invokeNewEnum(flags, params, result), exception);
        ComPtr<ITypeInfo> info;
        const HRESULT hr = interfaceTypeInfo(Info.iid, View::Vtable, info.put());
        if (FAILED(hr)) return hr;
        return explainDispatchFailure(Info,
                                      invokeDual(static_cast<Interface*>(this), info.get(), Info.methodsReadAsProperties,
                                                 member, flags, params, result, exception, argumentError),
                                      exception);
    }

    // --- ISupportErrorInfo ---
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return IsEqualIID(iid, Info.iid) ? S_OK : S_FALSE;
    }

protected:
    ~ComObject() override = default;

    // A new enumerator of the object's elements, with one reference, for DISPID_NEWENUM; none
    // for an object that is no collection. May throw.
    virtual IUnknown* newEnumerator() { return nullptr; }

    // Runs a member's body behind the wall: see Failure.h.
    template <typename Body>
    HRESULT guarded(Body&& body) noexcept {
        return com::guarded(Info, std::forward<Body>(body));
    }

private:
    // DISPID_NEWENUM, which script engines ask a collection for its enumerator with (For Each, new
    // Enumerator) through IDispatch alone: the type library names no such member.
    HRESULT invokeNewEnum(WORD flags, DISPPARAMS* params, VARIANT* result) noexcept {
        if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) return DISP_E_MEMBERNOTFOUND;
        if (params != nullptr && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
        if (result == nullptr) return E_POINTER;
        try {
            IUnknown* enumerator = newEnumerator();
            if (enumerator == nullptr) return DISP_E_MEMBERNOTFOUND;
            VariantInit(result);
            V_VT(result) = VT_UNKNOWN;
            V_UNKNOWN(result) = enumerator;
            return S_OK;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
};

}  // namespace popupmenu::com
