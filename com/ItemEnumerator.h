#pragma once
// The enumerator that `For Each` (VBScript) and `new Enumerator(...)` (JScript) walk a collection
// with: an IEnumVARIANT over the collection's items as they stood when it was made. A snapshot is
// what keeps an enumeration sound while the script changes the collection: an item removed
// meanwhile is still returned, as the object it was, and an item added meanwhile is not; nothing
// can point past the end. Clones share the snapshot and copy the position.

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

#include "com/ComHandles.h"
#include "com/ComObject.h"
#include "model/MenuItems.h"

namespace popupmenu::com {

class ItemEnumerator final : private LiveObject, public IEnumVARIANT {
public:
    using Snapshot = std::vector<ComPtr<IDispatch>>;

    // A new enumerator over the items of `items`, in collection order, with one reference.
    static IEnumVARIANT* over(popupmenu::MenuItems& items);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* elements, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override;

private:
    ItemEnumerator(std::shared_ptr<const Snapshot> items, std::size_t position) noexcept
        : items_(std::move(items)), position_(position) {}
    ~ItemEnumerator() = default;

    std::atomic<ULONG> references_{1};
    std::shared_ptr<const Snapshot> items_;
    std::size_t position_;
};

}  // namespace popupmenu::com
