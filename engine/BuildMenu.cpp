#include "engine/BuildMenu.h"

#include <algorithm>
#include <unordered_map>

#include "model/FailureBox.h"
#include "model/Value.h"

namespace popupmenu {
namespace {

// Walks and searches use 16-bit positions, as the collection's Count does.
constexpr std::size_t kReachablePositions = 32767;

// Flag word of an owner-drawn item: a command item is appended by position, a submenu item opens
// its submenu. Disabled items carry both the grayed and the disabled flag.
std::uint32_t ownerDrawFlags(const MenuItem& item, bool opensSubmenu) {
    std::uint32_t flags = win::MF_OWNERDRAW;
    if (!item.Enabled()) flags |= win::MF_GRAYED | win::MF_DISABLED;
    if (item.Checked()) flags |= win::MF_CHECKED;
    flags |= opensSubmenu ? win::MF_POPUP : win::MF_BYPOSITION;
    return flags;
}

void build(Platform& platform, MenuItems* items, Handle rootMenu, BuiltMenu& built) {
    if (items == nullptr) throw AutomationError(91, u"Object variable or With block variable not set");
    // Without a root menu nothing can be attached to the tree, and a submenu made now would
    // outlive the pop-up.
    if (rootMenu == 0) return;

    // The submenus made in this pass, by the item they belong to. An item is appended only to the
    // root or to one of these, never to an ItemID that is not a menu of this build (a command
    // number, a submenu destroyed by an earlier pop-up).
    std::unordered_map<const MenuItem*, Handle> submenus;
    // The picture list of the menu the last item went to: items mostly follow their siblings.
    Handle picturesOf = 0;
    std::vector<std::int32_t>* pictures = nullptr;

    const std::size_t count = std::min(items->size(), kReachablePositions);
    for (std::size_t position = 1; position <= count; ++position) {
        MenuItem* item = items->itemAt(position);
        if (item == nullptr) break;
        if (!item->Visible()) continue;

        // The parent is looked up before the item's own submenu exists, so an item that is its
        // own parent finds none and no menu ever contains itself.
        Handle parentMenu = rootMenu;
        if (const MenuItem* parent = item->Parent(); parent != nullptr) {
            const auto parentSubmenu = submenus.find(parent);
            if (parentSubmenu == submenus.end()) continue;
            parentMenu = parentSubmenu->second;
        }

        if (isSeparator(item->Text())) {
            platform.appendMenu(parentMenu, win::MF_SEPARATOR, item->ItemID(), 0);
            continue;
        }

        const bool opensSubmenu = item->IsSubMenu() != 0;
        if (opensSubmenu) {
            const Handle submenu = platform.createPopupMenu();
            items->setItemID(position, submenu);
            // A submenu that could not be made can neither be attached nor hold children.
            if (submenu == 0) continue;
            submenus.emplace(item, submenu);
            built.submenus.push_back(submenu);
        }
        // The item's data is its record: its label, copied so that it stays readable whatever
        // the host does to the collection while the menu is open, and its identifier, by which an
        // access letter finds the item.
        const std::int32_t identifier = item->ItemID();
        platform.appendMenu(parentMenu, ownerDrawFlags(*item, opensSubmenu), identifier,
                            built.records.add(identifier, item->Text()));
        if (!opensSubmenu) built.commands.push_back({identifier, Ref<MenuItem>(item)});
        if (pictures == nullptr || picturesOf != parentMenu) {
            picturesOf = parentMenu;
            pictures = &built.pictures[parentMenu];  // a map's elements stay where they are
        }
        if (item->NormalPictureIndex() >= 0) pictures->push_back(item->NormalPictureIndex());
        if (item->Checked() && item->CheckedPictureIndex() >= 0) pictures->push_back(item->CheckedPictureIndex());
    }
}

}  // namespace

bool isSeparator(std::u16string_view text) noexcept {
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return false;
    const auto last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1) == u"-";
}

BuiltMenu BuildMenu(Platform& platform, MenuItems* items, Handle rootMenu) noexcept {
    BuiltMenu built;
    try {
        build(platform, items, rootMenu, built);
    } catch (...) {
        showCurrentFailure(platform);
    }
    return built;
}

}  // namespace popupmenu
