#pragma once
// The ordered, key-addressed collection of every item of one menu (top level and submenus in one
// flat list). The automation members report their failures in message boxes, as hosts expect;
// the library-internal members below them are what the engine and the renderer use.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "model/MenuItem.h"
#include "model/Value.h"
#include "platform/Platform.h"

namespace popupmenu {

class ItemStore;

class MenuItems : public RefCounted {
public:
    // Positions and counts are 16-bit on the automation interface: Add refuses the item that
    // would make the collection larger than every position can reach.
    static constexpr std::size_t kMaxCount = 32767;

    explicit MenuItems(Platform& platform);
    ~MenuItems() override;

    // --- automation members ---
    Ref<popupmenu::MenuItem> Add(const Value& key, std::u16string_view Text, const Value& ParentKey = Value::missing(),
                                 const Value& NormalPictureIndex = Value::missing(),
                                 const Value& CheckedPictureIndex = Value::missing());
    Ref<popupmenu::MenuItem> MenuItem(const Value& key);
    void Clear();
    void Remove(const Value& key);
    std::int16_t Count();

    // --- library-internal ---
    std::size_t size() const noexcept;
    // The item at a 1-based position, or nullptr outside 1..size(). The two look-ups are virtual
    // so that a test or the benchmark can watch them (tests/support/CountingMenuItems.h).
    virtual popupmenu::MenuItem* itemAt(std::size_t position) const noexcept;
    // The lowest position whose item has this ItemID, or 0 when none has. Constant time. The
    // renderer and the access letters find items by it. PopUp does not: it maps the chosen command
    // through its own list of the commands the build appended, because the host may remove the
    // chosen item (or clear the collection and add others under the same numbers) from a message
    // it handles while the menu is open, and the item the user saw and chose still returns its key.
    virtual std::size_t positionOfItemID(std::int32_t itemID) const noexcept;
    // Gives the item at `position` a new ItemID (the menu builder's submenu handles).
    void setItemID(std::size_t position, std::int32_t itemID);

protected:
    // Makes the object for a new item; the automation layer makes items that are also COM objects.
    virtual Ref<popupmenu::MenuItem> newItem();
    Platform& platform() const noexcept { return platform_; }

private:
    // Removes every descendant of the item that `key` addresses, as Remove addresses it.
    void RemoveChildren(const Value& key);
    // The clean-up of a failed Add: takes `item` out again from under `key`.
    void takeOut(const Value& key, const popupmenu::MenuItem* item);

    Platform& platform_;
    std::unique_ptr<ItemStore> store_;
    // The ItemID of the next new item: counts on across removals, so an ItemID is never given
    // twice, and starts again at 1 with an empty collection on Clear.
    std::int64_t nextItemID_ = 1;
};

}  // namespace popupmenu
