#include "com/ComMenuItems.h"

#include "com/ComHandles.h"
#include "com/ComMenuItem.h"
#include "com/ItemEnumerator.h"
#include "com/Variant.h"

namespace popupmenu::com {

ComMenuItems& ComMenuItems::of(popupmenu::MenuItems& items) {
    auto* object = dynamic_cast<ComMenuItems*>(&items);
    if (object == nullptr) throw ComError(E_UNEXPECTED);
    return *object;
}

Ref<popupmenu::MenuItem> ComMenuItems::newItem() {
    return Ref<popupmenu::MenuItem>(new ComMenuItem());
}

IUnknown* ComMenuItems::newEnumerator() {
    return ItemEnumerator::over(*this);
}

HRESULT ComMenuItems::Add(VARIANT* key, BSTR* Text, VARIANT* ParentKey, VARIANT* NormalPictureIndex,
                          VARIANT* CheckedPictureIndex, _MenuItem** result) {
    return guarded([&] {
        _MenuItem*& slot = required(result);
        slot = nullptr;
        const Value keyValue = valueOf(&required(key));
        const std::u16string text = fromBstr(required(Text));
        // An early-bound client may pass no VARIANT at all for an optional argument: missing.
        Ref<popupmenu::MenuItem> item = popupmenu::MenuItems::Add(
            keyValue, text, valueOf(ParentKey), valueOf(NormalPictureIndex), valueOf(CheckedPictureIndex));
        slot = referenceTo(item.get());
    });
}

HRESULT ComMenuItems::get_MenuItem(VARIANT* key, _MenuItem** result) {
    return guarded([&] {
        _MenuItem*& slot = required(result);
        slot = nullptr;
        Ref<popupmenu::MenuItem> item = popupmenu::MenuItems::MenuItem(valueOf(&required(key)));
        slot = referenceTo(item.get());
    });
}

HRESULT ComMenuItems::Clear() {
    return guarded([&] { popupmenu::MenuItems::Clear(); });
}

HRESULT ComMenuItems::Remove(VARIANT* key) {
    return guarded([&] { popupmenu::MenuItems::Remove(valueOf(&required(key))); });
}

HRESULT ComMenuItems::Count(short* result) {
    return guarded([&] { required(result) = popupmenu::MenuItems::Count(); });
}

}  // namespace popupmenu::com
