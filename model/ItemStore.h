#pragma once
// The storage behind a MenuItems: entries in insertion order, each an item under a key.
// Keys compare without regard to letter case in every script (see CaseFolding.h) and are found
// through a hash table; positions are 1-based and reached directly. An index by ItemID answers
// which position holds an identifier without a search.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/MenuItem.h"

namespace popupmenu {

class ItemStore {
public:
    ItemStore();
    ~ItemStore();  // releases the items from the last position to the first
    ItemStore(const ItemStore&) = delete;
    ItemStore& operator=(const ItemStore&) = delete;

    std::size_t size() const noexcept { return entries_.size(); }
    // The item at a 1-based position, or nullptr outside 1..size().
    MenuItem* itemAt(std::size_t position) const noexcept;

    // Appends `item` under `key`. Fails with the duplicate key, and changes nothing, when an
    // entry's key equals `key` with letter case ignored.
    void append(std::u16string_view key, Ref<MenuItem> item);
    // The position of the entry under `key` (letter case ignored), or 0 when there is none.
    std::size_t positionOfKey(std::u16string_view key) const;

    // Removes the entry at a valid position; the entries behind it move up by one.
    void removeAt(std::size_t position);
    // Removes every descendant of the item at a valid position (the entries whose chain of
    // Parent links leads to it); the others keep their order. Returns how many were removed.
    std::size_t removeDescendantsOf(std::size_t position);

    // The lowest position whose item has this ItemID, or 0 when none has.
    std::size_t positionOfItemID(std::int32_t itemID) const noexcept;
    // Gives the item at a valid position a new ItemID and keeps the index exact.
    void setItemID(std::size_t position, std::int32_t itemID);

private:
    struct Entry {
        Ref<MenuItem> item;
        std::u16string foldedKey;
        std::uint64_t sequence;  // order of insertion: orders entries as their positions do
        std::size_t index;       // 0-based position, kept exact as entries move up
    };

    void unindex(Entry& entry) noexcept;
    void indexItemID(Entry& entry);
    void renumberFrom(std::size_t index) noexcept;

    std::vector<std::unique_ptr<Entry>> entries_;
    // Views into Entry::foldedKey, which lives as long as its entry.
    std::unordered_map<std::u16string_view, Entry*> byKey_;
    // For each ItemID, the entries holding it in order of position (almost always just one).
    std::unordered_map<std::int32_t, std::vector<Entry*>> byItemID_;
    std::uint64_t nextSequence_ = 0;
};

}  // namespace popupmenu
