// Entries in insertion order with a hash table by folded key and an index by ItemID. Entries
// are only ever appended or removed, never reordered, so an insertion sequence number orders
// them exactly as their positions do; the index keeps each ItemID's entries in that order.

#include "model/ItemStore.h"

#include <algorithm>
#include <unordered_set>

#include "model/CaseFolding.h"
#include "model/Value.h"

namespace popupmenu {

ItemStore::ItemStore() = default;

ItemStore::~ItemStore() {
    // Children stand behind their parents: releasing from the back lets every child go before
    // the parent it holds, so no release has to free a chain of ancestors.
    byKey_.clear();
    byItemID_.clear();
    while (!entries_.empty()) entries_.pop_back();
}

MenuItem* ItemStore::itemAt(std::size_t position) const noexcept {
    if (position < 1 || position > entries_.size()) return nullptr;
    return entries_[position - 1]->item.get();
}

void ItemStore::append(std::u16string_view key, Ref<MenuItem> item) {
    auto entry = std::make_unique<Entry>(Entry{std::move(item), foldCase(key), nextSequence_, entries_.size()});
    if (byKey_.contains(entry->foldedKey)) throw makeError(error::DuplicateKey);

    // Everything that can fail comes before the first change, or is undone.
    if (entries_.size() == entries_.capacity()) entries_.reserve(std::max<std::size_t>(16, entries_.size() * 2));
    const auto keyed = byKey_.emplace(entry->foldedKey, entry.get()).first;
    try {
        indexItemID(*entry);
    } catch (...) {
        byKey_.erase(keyed);
        throw;
    }
    entries_.push_back(std::move(entry));
    ++nextSequence_;
}

std::size_t ItemStore::positionOfKey(std::u16string_view key) const {
    const auto found = byKey_.find(foldCase(key));
    return found == byKey_.end() ? 0 : found->second->index + 1;
}

void ItemStore::removeAt(std::size_t position) {
    const std::size_t index = position - 1;
    std::unique_ptr<Entry> removed = std::move(entries_.at(index));
    unindex(*removed);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    renumberFrom(index);
    // `removed` releases its item only now, when the store is consistent again.
}

std::size_t ItemStore::removeDescendantsOf(std::size_t position) {
    // A parent always stands before its children, so one pass from the ancestor onwards meets
    // every item after its parent: an item belongs to the family when its parent does.
    const std::size_t first = position;  // 0-based index of the entry right behind the ancestor
    std::unordered_set<const MenuItem*> family{entries_.at(position - 1)->item.get()};
    std::vector<bool> leaving(entries_.size() - first);
    std::size_t count = 0;
    for (std::size_t i = first; i < entries_.size(); ++i) {
        const MenuItem* item = entries_[i]->item.get();
        if (item->Parent() != nullptr && family.contains(item->Parent())) {
            family.insert(item);
            leaving[i - first] = true;
            ++count;
        }
    }
    if (count == 0) return 0;

    std::vector<std::unique_ptr<Entry>> removed;
    removed.reserve(count);
    // From here on nothing can fail: close the gaps in one pass.
    std::size_t kept = first;
    for (std::size_t i = first; i < entries_.size(); ++i) {
        if (leaving[i - first]) {
            unindex(*entries_[i]);
            removed.push_back(std::move(entries_[i]));
        } else {
            entries_[kept] = std::move(entries_[i]);
            entries_[kept]->index = kept;
            ++kept;
        }
    }
    entries_.resize(kept);
    while (!removed.empty()) removed.pop_back();  // children before their parents, as above
    return count;
}

std::size_t ItemStore::positionOfItemID(std::int32_t itemID) const noexcept {
    const auto found = byItemID_.find(itemID);
    if (found == byItemID_.end() || found->second.empty()) return 0;
    return found->second.front()->index + 1;
}

void ItemStore::setItemID(std::size_t position, std::int32_t itemID) {
    Entry& entry = *entries_.at(position - 1);
    const std::int32_t previous = entry.item->ItemID();
    if (previous == itemID) return;
    entry.item->setItemID(itemID);
    try {
        indexItemID(entry);
    } catch (...) {
        entry.item->setItemID(previous);
        throw;
    }
    // Take the entry out of its previous identifier's list.
    const auto holders = byItemID_.find(previous);
    if (holders == byItemID_.end()) return;
    std::erase(holders->second, &entry);
    if (holders->second.empty()) byItemID_.erase(holders);
}

void ItemStore::indexItemID(Entry& entry) {
    auto& holders = byItemID_[entry.item->ItemID()];
    const auto place = std::lower_bound(holders.begin(), holders.end(), entry.sequence,
                                        [](const Entry* e, std::uint64_t sequence) { return e->sequence < sequence; });
    holders.insert(place, &entry);
}

void ItemStore::unindex(Entry& entry) noexcept {
    byKey_.erase(entry.foldedKey);
    const auto found = byItemID_.find(entry.item->ItemID());
    if (found == byItemID_.end()) return;
    std::erase(found->second, &entry);
    if (found->second.empty()) byItemID_.erase(found);
}

void ItemStore::renumberFrom(std::size_t index) noexcept {
    for (std::size_t i = index; i < entries_.size(); ++i) entries_[i]->index = i;
}

}  // namespace popupmenu
