#pragma once
// The component a host creates: it owns one item collection, takes the handle of an image list,
// and shows the menu with PopUp.

#include <cstdint>
#include <functional>
#include <string>

#include "model/MenuItems.h"
#include "model/RefCounted.h"
#include "platform/Platform.h"

namespace popupmenu {

class NuvraPopUpMenu : public RefCounted {
public:
    // Makes the component's collection. The automation layer passes one that makes a collection
    // which is also a COM object.
    using ItemsFactory = std::function<Ref<popupmenu::MenuItems>()>;

    // Creates the collection and publishes it as this thread's PopupState.Items. A failure is
    // shown in a warning box; the component is still created, without a collection.
    explicit NuvraPopUpMenu(Platform& platform);
    NuvraPopUpMenu(Platform& platform, const ItemsFactory& makeItems);

    // --- automation members ---
    // Shows the menu at the cursor and returns the key of the chosen item, or "" when the menu was
    // dismissed, when a pop-up is already open on this thread, or after a failure (shown in a
    // warning box).
    std::u16string PopUp() noexcept;
    std::int32_t hImageList() const;
    void setHImageList(std::int32_t plData);
    // The same collection on every call (none when it could not be created).
    Ref<popupmenu::MenuItems> MenuItems() const;

protected:
    // Releases the collection and clears PopupState.Items; nothing else is touched.
    ~NuvraPopUpMenu() override;
    Platform& platform() const noexcept { return platform_; }

private:
    Platform& platform_;
    Ref<popupmenu::MenuItems> mItems;
};

}  // namespace popupmenu
