#include "com/TypeInfo.h"

#include <oleauto.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "com/Classes.h"
#include "com/ComHandles.h"
#include "com/Module.h"

namespace popupmenu::com {
namespace {

struct CachedInterface {
    explicit CachedInterface(const IID& id) : iid(&id) {}
    const IID* iid;
    ComPtr<ITypeInfo> dispatchView;
    ComPtr<ITypeInfo> vtableView;
};

// Never destroyed: at process exit oleaut32 may be gone before this module's destructors run, so
// the references are released only by releaseTypeInfo(), while the module is still in use.
struct Cache {
    std::mutex mutex;
    CachedInterface interfaces[3] = {CachedInterface(IID__MenuItem), CachedInterface(IID__NuvraPopUpMenu),
                                     CachedInterface(IID__MenuItems)};
};
Cache& cache() {
    static Cache* const theCache = new Cache;
    return *theCache;
}

HRESULT loadInterface(CachedInterface& entry) {
    ComPtr<ITypeLib> library;
    HRESULT hr = loadTypeLibrary(library.put());
    if (FAILED(hr)) return hr;
    ComPtr<ITypeInfo> dispatchView;
    hr = library->GetTypeInfoOfGuid(*entry.iid, dispatchView.put());
    if (FAILED(hr)) return hr;
    // A dual interface's type info describes its dispatch side; the implemented type -1 is its
    // vtable side, the one whose slots (oVft) DispInvoke must call.
    HREFTYPE vtableRef = 0;
    hr = dispatchView->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef);
    if (FAILED(hr)) return hr;
    ComPtr<ITypeInfo> vtableView;
    hr = dispatchView->GetRefTypeInfo(vtableRef, vtableView.put());
    if (FAILED(hr)) return hr;
    entry.dispatchView = dispatchView;
    entry.vtableView = vtableView;
    return S_OK;
}

// Frees a FUNCDESC when it goes out of scope.
class FuncDesc {
public:
    FuncDesc(ITypeInfo* info, FUNCDESC* desc) : info_(info), desc_(desc) {}
    FuncDesc(FuncDesc&& other) noexcept : info_(other.info_), desc_(std::exchange(other.desc_, nullptr)) {}
    FuncDesc(const FuncDesc&) = delete;
    FuncDesc& operator=(const FuncDesc&) = delete;
    FuncDesc& operator=(FuncDesc&& other) noexcept {
        if (this != &other) {
            if (desc_) info_->ReleaseFuncDesc(desc_);
            info_ = other.info_;
            desc_ = std::exchange(other.desc_, nullptr);
        }
        return *this;
    }
    ~FuncDesc() {
        if (desc_) info_->ReleaseFuncDesc(desc_);
    }
    const FUNCDESC* get() const { return desc_; }

private:
    ITypeInfo* info_;
    FUNCDESC* desc_;
};

// The description of the member that `flags` asks for: a property put and a property get share
// a dispatch identifier.
FuncDesc findMember(ITypeInfo* info, DISPID member, WORD flags) {
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes))) return FuncDesc(info, nullptr);
    const WORD functions = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < functions; ++i) {
        FUNCDESC* desc = nullptr;
        if (FAILED(info->GetFuncDesc(i, &desc))) continue;
        FuncDesc found(info, desc);
        if (desc->memid == member && (desc->invkind & flags) != 0) return found;
    }
    return FuncDesc(info, nullptr);
}

// The parameter an argument is for: named arguments come first in rgvarg (a property put's value
// is named DISPID_PROPERTYPUT), then the positional ones in reverse order.
int parameterOf(const DISPPARAMS& params, UINT argument, const FUNCDESC& desc) {
    if (argument < params.cNamedArgs) {
        const DISPID name = params.rgdispidNamedArgs[argument];
        return name == DISPID_PROPERTYPUT ? desc.cParams - 1 : static_cast<int>(name);
    }
    return static_cast<int>(params.cArgs - 1 - argument);
}

// True when DispInvoke cannot pass a by-reference argument on as it is: it forwards a reference
// only to a parameter of exactly the referenced type (or to a VARIANT).
bool needsDereferencing(const VARIANTARG& argument, const TYPEDESC& parameter) {
    if ((argument.vt & VT_BYREF) == 0) return false;
    const VARTYPE target = parameter.vt == VT_PTR ? parameter.lptdesc->vt : parameter.vt;
    if (target == VT_VARIANT) return false;
    return !(parameter.vt == VT_PTR && argument.vt == (VT_BYREF | target));
}

}  // namespace

HRESULT loadTypeLibrary(ITypeLib** library) noexcept {
    try {
        const std::wstring path = modulePath();
        if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
        return LoadTypeLibEx(path.c_str(), REGKIND_NONE, library);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT interfaceTypeInfo(REFIID iid, View view, ITypeInfo** typeInfo) noexcept {
    if (typeInfo == nullptr) return E_POINTER;
    *typeInfo = nullptr;
    try {
        Cache& c = cache();
        std::lock_guard<std::mutex> lock(c.mutex);
        for (CachedInterface& entry : c.interfaces) {
            if (!IsEqualIID(*entry.iid, iid)) continue;
            if (!entry.vtableView) {
                const HRESULT hr = loadInterface(entry);
                if (FAILED(hr)) return hr;
            }
            ComPtr<ITypeInfo> result = view == View::Vtable ? entry.vtableView : entry.dispatchView;
            *typeInfo = result.detach();
            return S_OK;
        }
        return TYPE_E_ELEMENTNOTFOUND;
    } catch (...) {
        return E_OUTOFMEMORY;  // the lock could not be taken
    }
}

void releaseTypeInfo() noexcept {
    try {
        Cache& c = cache();
        std::lock_guard<std::mutex> lock(c.mutex);
        for (CachedInterface& entry : c.interfaces) {
            entry.dispatchView.reset();
            entry.vtableView.reset();
        }
    } catch (...) {
        // The lock could not be taken: keep the references; they are only memory.
    }
}

HRESULT invokeDual(void* instance, ITypeInfo* vtableView, std::span<const DISPID> methodsReadAsProperties,
                   DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                   UINT* argumentError) noexcept {
    try {
        FuncDesc desc = findMember(vtableView, member, flags);
        if (desc.get() == nullptr) {
            const bool read = (flags & ~DISPATCH_PROPERTYGET) == 0;
            const bool called = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) == 0 &&
                                (flags & DISPATCH_METHOD) != 0;
            if (called) {
                flags = DISPATCH_PROPERTYGET;
            } else if (read && std::find(methodsReadAsProperties.begin(), methodsReadAsProperties.end(), member) !=
                                   methodsReadAsProperties.end()) {
                flags = DISPATCH_METHOD;
            }
            desc = findMember(vtableView, member, flags);
        }
        if (desc.get() == nullptr || params == nullptr || params->cArgs == 0)
            return DispInvoke(instance, vtableView, member, flags, params, result, exception, argumentError);

        // The arguments as DispInvoke will see them: a shallow copy, with every by-reference
        // argument it would refuse replaced by a copy of the value it refers to. The members take
        // their in/out arguments as values and never write through them, so nothing is copied back.
        std::vector<VARIANTARG> arguments(params->rgvarg, params->rgvarg + params->cArgs);
        std::vector<UINT> dereferenced;
        // Reserved up front, so that recording a copy can never fail after the copy was made.
        dereferenced.reserve(params->cArgs);
        HRESULT hr = S_OK;
        for (UINT a = 0; a < params->cArgs && SUCCEEDED(hr); ++a) {
            const int parameter = parameterOf(*params, a, *desc.get());
            if (parameter < 0 || parameter >= desc.get()->cParams) continue;
            if (!needsDereferencing(params->rgvarg[a], desc.get()->lprgelemdescParam[parameter].tdesc)) continue;
            VariantInit(&arguments[a]);
            hr = VariantCopyInd(&arguments[a], &params->rgvarg[a]);
            if (SUCCEEDED(hr)) {
                dereferenced.push_back(a);
            } else {
                arguments[a] = params->rgvarg[a];  // nothing of the copy to free
                if (argumentError) *argumentError = a;
                hr = DISP_E_TYPEMISMATCH;
            }
        }
        if (SUCCEEDED(hr)) {
            DISPPARAMS forwarded = *params;
            forwarded.rgvarg = arguments.data();
            hr = DispInvoke(instance, vtableView, member, flags, &forwarded, result, exception, argumentError);
        }
        for (const UINT a : dereferenced) VariantClear(&arguments[a]);
        return hr;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace popupmenu::com
