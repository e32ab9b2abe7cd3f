#include "com/ItemEnumerator.h"

#include <algorithm>
#include <new>

#include "com/ComMenuItem.h"

namespace popupmenu::com {

IEnumVARIANT* ItemEnumerator::over(popupmenu::MenuItems& items) {
    auto snapshot = std::make_shared<Snapshot>();
    snapshot->reserve(items.size());
    for (std::size_t position = 1; position <= items.size(); ++position)
        snapshot->push_back(ComPtr<IDispatch>::adopt(referenceTo(items.itemAt(position))));
    return new ItemEnumerator(std::move(snapshot), 0);
}

HRESULT ItemEnumerator::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumVARIANT)) {
        *object = static_cast<IEnumVARIANT*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ItemEnumerator::AddRef() { return ++references_; }

ULONG ItemEnumerator::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT ItemEnumerator::Next(ULONG count, VARIANT* elements, ULONG* fetched) {
    if (fetched) *fetched = 0;
    if (elements == nullptr && count > 0) return E_POINTER;
    ULONG given = 0;
    for (; given < count && position_ < items_->size(); ++given, ++position_) {
        IDispatch* item = (*items_)[position_].get();
        VariantInit(&elements[given]);
        V_VT(&elements[given]) = VT_DISPATCH;
        V_DISPATCH(&elements[given]) = item;
        if (item) item->AddRef();
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT ItemEnumerator::Skip(ULONG count) {
    const std::size_t left = items_->size() - position_;
    position_ += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
}

HRESULT ItemEnumerator::Reset() {
    position_ = 0;
    return S_OK;
}

HRESULT ItemEnumerator::Clone(IEnumVARIANT** copy) {
    if (copy == nullptr) return E_POINTER;
    *copy = new (std::nothrow) ItemEnumerator(items_, position_);
    return *copy ? S_OK : E_OUTOFMEMORY;
}

}  // namespace popupmenu::com
