// Input no sensible host sends still gives a defined result: embedded NULs, megabyte strings,
// far too many items, menus nested thousands of levels deep.

#include <gtest/gtest.h>

#include <string>

#include "tests/model/ModelFixture.h"

namespace popupmenu::testing {
namespace {

using namespace std::string_literals;
using Keys = std::vector<std::u16string>;

constexpr std::size_t kMegabyte = 1 << 20;

TEST_F(CollectionTest, EmbeddedNulsArePartOfKeysAndLabels) {
    const std::u16string key = u"a\0b"s;
    const std::u16string label = u"\0Open\0\0"s;
    const auto item = items->Add(S(key), label);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->key(), key);
    EXPECT_EQ(item->Text(), label);
    ASSERT_TRUE(items->Add(S(u"a\0c"s), u""));
    ASSERT_TRUE(items->Add(S(u"a"), u""));
    EXPECT_FALSE(items->Add(S(u"A\0B"s), u""));
    EXPECT_EQ(newBoxes(), (Boxes{{kDuplicateKey, kWarning}}));
    EXPECT_EQ(items->MenuItem(S(u"A\0B"s)).get(), item.get());
    EXPECT_TRUE(items->Add(S(u"1\0"s), u""));  // not numeric, so a key: the NUL is not a blank
    EXPECT_EQ(newBoxes(), Boxes{});
    items->Remove(S(u"a\0b"s));
    EXPECT_EQ(keys(), (Keys{u"a\0c"s, u"a", u"1\0"s}));
}

TEST_F(CollectionTest, MegabyteKeysAndLabelsWork) {
    std::u16string key(kMegabyte, u'\u00E4');  // ä
    key.back() = u'x';
    const std::u16string label(kMegabyte, u'L');
    const auto item = items->Add(S(key), label);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->key(), key);
    EXPECT_EQ(item->Text(), label);

    std::u16string upper(kMegabyte, u'\u00C4');  // Ä
    upper.back() = u'X';
    EXPECT_FALSE(items->Add(S(upper), u""));
    EXPECT_EQ(newBoxes(), (Boxes{{kDuplicateKey, kWarning}}));
    EXPECT_EQ(items->MenuItem(S(upper)).get(), item.get());
    ASSERT_TRUE(items->Add(S(std::u16string(kMegabyte, u' ')), u"blanks are no number"));
    ASSERT_TRUE(items->Add(S(u"child"), u"", S(upper)));
    EXPECT_EQ(item->IsSubMenu(), MenuItem::True);
    items->Remove(S(upper));
    EXPECT_EQ(keys(), (Keys{std::u16string(kMegabyte, u' ')}));
    EXPECT_EQ(newBoxes(), Boxes{});
}

TEST_F(CollectionTest, MegabyteNumbersAreRefusedOrOutOfRange) {
    add(u"a");
    const std::u16string hugeNumber = u"1" + std::u16string(kMegabyte, u'0');
    EXPECT_FALSE(items->Add(S(hugeNumber), u""));
    EXPECT_EQ(newBoxes(), (Boxes{{kNumericKey, kInformation}}));
    EXPECT_FALSE(items->Add(S(u"b"), u"", Value::missing(), S(hugeNumber)));
    EXPECT_EQ(newBoxes(), (Boxes{{kOverflow, kWarning}}));
    items->Remove(S(hugeNumber));
    EXPECT_EQ(newBoxes(), (Boxes{{kOutOfRange, kWarning}}));
    items->Remove(S(u"0." + std::u16string(kMegabyte, u'0') + u"1"));  // rounds to position 0
    EXPECT_EQ(newBoxes(), (Boxes{{kOutOfRange, kWarning}}));
    EXPECT_EQ(keys(), (Keys{u"a"}));
}

TEST_F(CollectionTest, FortyThousandAddsStopAtTheLargestCount) {
    for (int i = 1; i <= 40000; ++i) items->Add(S(numbered(u"item", i)), u"");
    EXPECT_EQ(items->Count(), 32767);
    EXPECT_EQ(boxes(), Boxes(40000 - 32767, Box{kOverflow, kWarning}));
    EXPECT_EQ(items->itemAt(32767)->key(), u"item32767");
    EXPECT_FALSE(items->MenuItem(S(u"item32768")));
    for (const std::int64_t position : {0LL, -1LL, 32768LL}) items->Remove(N(position));
    EXPECT_EQ(items->Count(), 32767);
    items->Remove(S(u"item40000"));
    EXPECT_EQ(items->Count(), 32767);
    items->Clear();
    EXPECT_EQ(items->Count(), 0);
}

TEST_F(CollectionTest, RemovingAChainThousandsOfLevelsDeepTakesItAllOut) {
    add(u"top");
    add(numbered(u"k", 1));
    for (int level = 2; level < static_cast<int>(MenuItems::kMaxCount); ++level) {
        add(numbered(u"k", level), S(numbered(u"k", level - 1)));
    }
    EXPECT_EQ(items->Count(), 32767);
    items->Remove(S(u"k1"));
    EXPECT_EQ(keys(), (Keys{u"top"}));
    EXPECT_EQ(boxes(), Boxes{});
}

}  // namespace
}  // namespace popupmenu::testing
