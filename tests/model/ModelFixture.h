#pragma once
// What the collection tests share: a collection on the recording platform, the message boxes it
// showed as comparable values, and short ways to add items and read the order of keys.

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "model/MenuItems.h"
#include "tests/support/RecordingPlatform.h"

namespace popupmenu::testing {

inline Value S(std::u16string text) { return Value::string(std::move(text)); }
inline Value N(std::int64_t number) { return Value::integer(number); }
// "k12" and the like, for collections of many items.
inline std::u16string numbered(std::u16string_view prefix, long long number) {
    const std::string digits = std::to_string(number);
    return std::u16string(prefix) + std::u16string(digits.begin(), digits.end());
}

// The failure descriptions and box styles a user sees.
inline const std::u16string kDuplicateKey = u"This key is already associated with an element of this collection";
inline const std::u16string kNoSuchKey = u"Invalid procedure call or argument";
inline const std::u16string kOutOfRange = u"Subscript out of range";
inline const std::u16string kOverflow = u"Overflow";
inline const std::u16string kTypeMismatch = u"Type mismatch";
inline const std::u16string kOwnParent = u"An item cannot be its own parent";
inline const std::u16string kNumericKey = u"Chiave non valida.";
inline constexpr std::uint32_t kWarning = 0x30;
inline constexpr std::uint32_t kInformation = 0x40;

struct Box {
    std::u16string text;
    std::uint32_t style;
    friend bool operator==(const Box&, const Box&) = default;
};
inline void PrintTo(const Box& box, std::ostream* out) {
    *out << "{\"" << toUtf8(box.text) << "\", 0x" << std::hex << box.style << std::dec << "}";
}
using Boxes = std::vector<Box>;

class CollectionTest : public ::testing::Test {
protected:
    // The boxes shown so far. Every box carries the library's name as its caption.
    Boxes boxes() const {
        Boxes shown;
        for (const auto& box : platform.messageBoxes()) {
            EXPECT_EQ(toUtf8(box.caption), "PopUpMenu");
            shown.push_back({box.text, box.style});
        }
        return shown;
    }

    // The boxes shown since the last call of newBoxes.
    Boxes newBoxes() {
        const Boxes all = boxes();
        Boxes fresh(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end());
        seen_ = all.size();
        return fresh;
    }

    // The keys in position order, read through the library-internal position access.
    std::vector<std::u16string> keys() const {
        std::vector<std::u16string> result;
        for (std::size_t position = 1; position <= items->size(); ++position) result.push_back(items->itemAt(position)->key());
        return result;
    }

    Ref<MenuItem> add(std::u16string key, const Value& parentKey = Value::missing()) {
        auto item = items->Add(S(key), u"label " + key, parentKey);
        EXPECT_TRUE(item) << "Add of " << toUtf8(key) << " failed";
        return item;
    }

    RecordingPlatform platform;
    Ref<MenuItems> items = makeRef<MenuItems>(platform);

private:
    std::size_t seen_ = 0;
};

}  // namespace popupmenu::testing
