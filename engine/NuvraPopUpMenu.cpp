#include "engine/NuvraPopUpMenu.h"

#include "engine/PopupState.h"
#include "model/FailureBox.h"

namespace popupmenu {

NuvraPopUpMenu::NuvraPopUpMenu(Platform& platform)
    : NuvraPopUpMenu(platform, [&platform] { return makeRef<popupmenu::MenuItems>(platform); }) {}

NuvraPopUpMenu::NuvraPopUpMenu(Platform& platform, const ItemsFactory& makeItems) : platform_(platform) {
    try {
        mItems = makeItems();
        // A collection that could not be made leaves the record as it was.
        if (mItems) popupState().Items = mItems;
    } catch (...) {
        showCurrentFailure(platform_);
    }
}

NuvraPopUpMenu::~NuvraPopUpMenu() {
    mItems = nullptr;
    popupState().Items = nullptr;
}

std::int32_t NuvraPopUpMenu::hImageList() const { return popupState().hImageList; }

void NuvraPopUpMenu::setHImageList(std::int32_t plData) {
    PopupState& state = popupState();
    state.hImageList = plData;
    // A handle that is not an image list has no image size: the painters then get 0 x 0 rather
    // than the size of whatever list was set before.
    if (!platform_.imageListGetIconSize(plData, state.lIconWidth, state.lIconHeight)) {
        state.lIconWidth = 0;
        state.lIconHeight = 0;
    }
}

Ref<popupmenu::MenuItems> NuvraPopUpMenu::MenuItems() const { return mItems; }

}  // namespace popupmenu
