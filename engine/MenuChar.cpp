#include "engine/MenuChar.h"

#include <algorithm>
#include <vector>

#include "engine/ItemRecords.h"
#include "model/AccessLetter.h"

namespace popupmenu {
namespace {

// Positions travel in the low word of the answer.
constexpr int kAnswerablePositions = 0x10000;

struct Match {
    int position;
    bool enabled;
};

LResult menuCharAnswer(std::uint32_t code, int position) {
    return static_cast<LResult>((code << 16) | (static_cast<std::uint32_t>(position) & 0xFFFF));
}

}  // namespace

std::optional<LResult> AnswerMenuChar(Platform& platform, const MenuItems& items, std::span<const Handle> ourMenus,
                                      Handle owner, char16_t typed, Handle menu) {
    if (menu == 0 || std::find(ourMenus.begin(), ourMenus.end(), menu) == ourMenus.end()) return std::nullopt;

    const int count = std::min(platform.getMenuItemCount(menu), kAnswerablePositions);
    std::vector<Match> matches;
    int highlighted = -1;
    for (int position = 0; position < count; ++position) {
        NativeMenuItem native;
        if (!platform.getMenuItem(menu, position, native)) continue;
        if (native.state & win::MFS_HILITE) highlighted = position;
        if (native.type & win::MFT_SEPARATOR) continue;
        // The pop-up's owner-drawn items carry a record; nothing else of these menus has data.
        const ItemRecord* record = ItemRecords::fromItemData(native.itemData);
        if (record == nullptr) continue;
        const std::size_t found = items.positionOfItemID(record->identifier);
        const MenuItem* item = found != 0 ? items.itemAt(found) : nullptr;
        if (item == nullptr || !typesAccessLetter(item->Text(), typed)) continue;
        matches.push_back({position, (native.state & win::MFS_GRAYED) == 0});
    }
    if (matches.empty()) return std::nullopt;

    if (matches.size() == 1 && matches.front().enabled)
        return menuCharAnswer(win::MNC_EXECUTE, matches.front().position);

    const auto after = std::find_if(matches.begin(), matches.end(),
                                    [&](const Match& match) { return match.position > highlighted; });
    const int next = after != matches.end() ? after->position : matches.front().position;
    // Measured under Wine: its menu loop ignores an MNC_SELECT answer and leaves the highlight
    // where it was, so the highlight is moved here as well. A loop that honours the answer then
    // selects the item that is highlighted already.
    platform.hiliteMenuItem(owner, menu, next);
    return menuCharAnswer(win::MNC_SELECT, next);
}

}  // namespace popupmenu
