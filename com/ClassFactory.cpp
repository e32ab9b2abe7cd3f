#include "com/ClassFactory.h"

#include <new>

#include "com/Classes.h"
#include "com/ComHandles.h"
#include "com/ComMenuItem.h"
#include "com/ComMenuItems.h"
#include "com/ComNuvraPopUpMenu.h"
#include "com/Module.h"

namespace popupmenu::com {
namespace {

// The factories are static objects that live as long as the module: their references are not
// counted, and only LockServer keeps the module loaded on their behalf.
class ClassFactory final : public IClassFactory {
public:
    using Make = IUnknown* (*)();  // a new object holding one reference; throws on failure

    ClassFactory(const ClassInfo& info, Make make) : info_(info), make_(make) {}
    const ClassInfo& info() const noexcept { return info_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        ComPtr<IUnknown> created;
        try {
            created = ComPtr<IUnknown>::adopt(make_());
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;
        }
        // The object's own reference goes when `created` does, after the client's is taken: an
        // unknown interface then destroys the object again.
        return created->QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            lockModule();
        else
            unlockModule();
        return S_OK;
    }

private:
    const ClassInfo& info_;
    Make make_;
};

ClassFactory menuItemFactory{kMenuItemClass, [] { return static_cast<IUnknown*>((new ComMenuItem())->newReference()); }};
ClassFactory nuvraPopUpMenuFactory{kNuvraPopUpMenuClass, [] {
    return static_cast<IUnknown*>((new ComNuvraPopUpMenu(platform()))->newReference());
}};
ClassFactory menuItemsFactory{kMenuItemsClass, [] {
    return static_cast<IUnknown*>((new ComMenuItems(platform()))->newReference());
}};

ClassFactory* const factories[] = {&menuItemFactory, &nuvraPopUpMenuFactory, &menuItemsFactory};

}  // namespace

HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** object) noexcept {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    for (ClassFactory* factory : factories) {
        if (IsEqualCLSID(clsid, factory->info().clsid)) return factory->QueryInterface(iid, object);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace popupmenu::com
