#pragma once
// Turns a collection into a tree of native pop-up menus, just before the menu is shown.

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/ItemRecords.h"
#include "model/MenuItem.h"
#include "model/MenuItems.h"
#include "platform/Platform.h"

namespace popupmenu {

// A command the builder appended: the identifier the platform returns when the user picks it, and
// the item it stands for.
struct AppendedCommand {
    std::int32_t identifier;
    Ref<MenuItem> item;
};
using AppendedCommands = std::vector<AppendedCommand>;

// The pictures the items of each menu of a build show, by menu: every item's normal picture, and
// the checked picture of every item appended checked. Indices may repeat.
using MenuPictures = std::unordered_map<Handle, std::vector<std::int32_t>>;

// What one build made. The records must outlive the menu tree, whose items point to them.
struct BuiltMenu {
    AppendedCommands commands;     // the command items appended, in menu order
    std::vector<Handle> submenus;  // the submenus created, in the order they were made
    ItemRecords records;           // the item data of every owner-drawn item appended
    MenuPictures pictures;         // the pictures each menu's items show
};

// A label is a separator when, without leading and trailing spaces (U+0020 only), it is "-".
bool isSeparator(std::u16string_view text) noexcept;

// Appends every visible item of `items` to `rootMenu`, or to the submenu built in this pass for
// its parent, and makes each visible item with children a submenu whose handle becomes its
// ItemID. Items whose parent got no submenu in this pass (because the parent is invisible, a
// separator, or not in the menu itself) are left out with all their descendants. Each owner-drawn
// item's data points to its record in `records` (its label for accessibility clients, and its
// identifier); a separator's is 0. A failure ends
// the build at that item and is shown in a warning box; what was appended stays.
// Returns the command items appended, the submenus made and the items' records (which keep their
// addresses when the result is moved).
BuiltMenu BuildMenu(Platform& platform, MenuItems* items, Handle rootMenu) noexcept;

}  // namespace popupmenu
