#include "com/ComNuvraPopUpMenu.h"

#include "com/ComHandles.h"
#include "com/ComMenuItems.h"

namespace popupmenu::com {

ComNuvraPopUpMenu::ComNuvraPopUpMenu(Platform& platform)
    : ComObject(platform, [&platform] { return Ref<popupmenu::MenuItems>(new ComMenuItems(platform)); }) {}

HRESULT ComNuvraPopUpMenu::PopUp(BSTR* result) {
    return guarded([&] {
        BSTR& slot = required(result);
        slot = nullptr;
        slot = Bstr(popupmenu::NuvraPopUpMenu::PopUp()).detach();
    });
}

HRESULT ComNuvraPopUpMenu::get_hImageList(LONG* result) {
    return guarded([&] { required(result) = hImageList(); });
}

HRESULT ComNuvraPopUpMenu::put_hImageList(LONG* value) {
    return guarded([&] { setHImageList(required(value)); });
}

HRESULT ComNuvraPopUpMenu::MenuItems(_MenuItems** result) {
    return guarded([&] {
        _MenuItems*& slot = required(result);
        slot = nullptr;
        Ref<popupmenu::MenuItems> items = popupmenu::NuvraPopUpMenu::MenuItems();
        if (items) slot = ComMenuItems::of(*items).newReference();
    });
}

}  // namespace popupmenu::com
