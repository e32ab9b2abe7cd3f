#pragma once
// The records an owner-drawn item's item data points to while its menu exists.
//
// An owner-drawn item carries no text, so a screen reader has nothing to read from it. Accessibility
// clients (Active Accessibility, and UI Automation's proxy for menus) look for a header at the start
// of the item data instead: a signature, then the label's length and the label itself as a native
// item would carry it, '&' marks included. What follows the header is the library's own: the
// identifier the item was appended under, which finds the item in the collection.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace popupmenu {

struct ItemRecord {
    AccessibleMenuHeader header;  // first, where accessibility clients read it
    std::int32_t identifier;      // the ItemID the item was appended under
};

// Owns the records of one built menu tree. A record and its label keep their address until the
// owner is destroyed, which must come after the menus that point to them.
class ItemRecords {
public:
    // A record for an item appended under `identifier` with `label`; returns its item data.
    std::uintptr_t add(std::int32_t identifier, std::u16string_view label);

    // The record that item data of one of these menus points to; none for 0.
    static const ItemRecord* fromItemData(std::uintptr_t itemData) noexcept {
        return reinterpret_cast<const ItemRecord*>(itemData);
    }

    std::size_t size() const noexcept { return entries_.size(); }

private:
    struct Entry {
        ItemRecord record;
        std::u16string label;
    };
    // A deque keeps every entry where it is as entries are added: one allocation per block of
    // entries instead of one per item.
    std::deque<Entry> entries_;
};

}  // namespace popupmenu
