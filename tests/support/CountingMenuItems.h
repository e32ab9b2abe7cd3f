#pragma once
// A collection that counts the item look-ups made through it (itemAt and positionOfItemID), for
// the tests and the benchmark that show how many look-ups one request costs. The product's
// collection keeps no count of its own.

#include <cstdint>

#include "model/MenuItems.h"

namespace popupmenu::testing {

class CountingMenuItems : public MenuItems {
public:
    using MenuItems::MenuItems;

    popupmenu::MenuItem* itemAt(std::size_t position) const noexcept override {
        ++lookups_;
        return MenuItems::itemAt(position);
    }
    std::size_t positionOfItemID(std::int32_t itemID) const noexcept override {
        ++lookups_;
        return MenuItems::positionOfItemID(itemID);
    }
    std::uint64_t lookupCount() const noexcept { return lookups_; }

private:
    mutable std::uint64_t lookups_ = 0;
};

}  // namespace popupmenu::testing
