#include "com/ComMenuItem.h"

#include "com/ComHandles.h"

namespace popupmenu::com {

ComMenuItem& ComMenuItem::of(popupmenu::MenuItem& item) {
    auto* object = dynamic_cast<ComMenuItem*>(&item);
    if (object == nullptr) throw ComError(E_UNEXPECTED);
    return *object;
}

_MenuItem* referenceTo(popupmenu::MenuItem* item) {
    return item ? ComMenuItem::of(*item).newReference() : nullptr;
}

HRESULT ComMenuItem::get_Visible(VARIANT_BOOL* result) {
    return guarded([&] { required(result) = Visible(); });
}

HRESULT ComMenuItem::put_Visible(VARIANT_BOOL* value) {
    return guarded([&] { setVisible(required(value)); });
}

HRESULT ComMenuItem::get_Parent(_MenuItem** result) {
    return guarded([&] {
        _MenuItem*& slot = required(result);
        slot = nullptr;
        slot = referenceTo(Parent());
    });
}

HRESULT ComMenuItem::get_IsSubMenu(VARIANT_BOOL* result) {
    return guarded([&] { required(result) = IsSubMenu(); });
}

HRESULT ComMenuItem::get_Text(BSTR* result) {
    return guarded([&] {
        BSTR& slot = required(result);
        slot = nullptr;
        slot = Bstr(Text()).detach();
    });
}

HRESULT ComMenuItem::put_Text(BSTR* value) {
    return guarded([&] { setText(fromBstr(required(value))); });
}

HRESULT ComMenuItem::get_key(BSTR* result) {
    return guarded([&] {
        BSTR& slot = required(result);
        slot = nullptr;
        slot = Bstr(key()).detach();
    });
}

HRESULT ComMenuItem::get_Enabled(VARIANT_BOOL* result) {
    return guarded([&] { required(result) = Enabled(); });
}

HRESULT ComMenuItem::put_Enabled(VARIANT_BOOL* value) {
    return guarded([&] { setEnabled(required(value)); });
}

HRESULT ComMenuItem::get_Checked(VARIANT_BOOL* result) {
    return guarded([&] { required(result) = Checked(); });
}

HRESULT ComMenuItem::put_Checked(VARIANT_BOOL* value) {
    return guarded([&] { setChecked(required(value)); });
}

HRESULT ComMenuItem::get_NormalPictureIndex(LONG* result) {
    return guarded([&] { required(result) = NormalPictureIndex(); });
}

HRESULT ComMenuItem::put_NormalPictureIndex(LONG* value) {
    return guarded([&] { setNormalPictureIndex(required(value)); });
}

HRESULT ComMenuItem::get_CheckedPictureIndex(LONG* result) {
    return guarded([&] { required(result) = CheckedPictureIndex(); });
}

HRESULT ComMenuItem::put_CheckedPictureIndex(LONG* value) {
    return guarded([&] { setCheckedPictureIndex(required(value)); });
}

}  // namespace popupmenu::com
