#pragma once
// Filling a collection in the renderer's tests, portable and under Wine alike.

#include <cstdint>
#include <string>
#include <utility>

#include "model/MenuItems.h"
#include "model/Value.h"

namespace popupmenu::testing {

// Adds a top-level item with its two picture indexes (negative: none). Its ItemID is the
// collection's count after the addition.
inline Ref<MenuItem> addWithPictures(MenuItems& items, std::u16string key, std::u16string text,
                                     std::int32_t normalPicture = -1, std::int32_t checkedPicture = -1) {
    Ref<MenuItem> item = items.Add(Value::string(std::move(key)), text);
    item->setNormalPictureIndex(normalPicture);
    item->setCheckedPictureIndex(checkedPicture);
    return item;
}

}  // namespace popupmenu::testing
