// MenuItem, Remove, Clear and Count: addressing by key and by position, removal of whole
// subtrees, and the boxes of their failures.

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "tests/model/ModelFixture.h"

namespace popupmenu::testing {
namespace {

using Keys = std::vector<std::u16string>;

class LookupTest : public CollectionTest {
protected:
    void SetUp() override {
        add(u"a");
        add(u"b");
        add(u"c");
    }
};

TEST_F(LookupTest, ANumberIsAPositionAndAStringAKey) {
    struct Case {
        const char* what;
        Value key;
        const char16_t* found;  // the key of the item found, or nullptr with the box below
        std::u16string box;
    };
    const Case cases[] = {
        {"position 2", N(2), u"b", {}},
        {"position 2.5 rounds to 2", Value::real(2.5), u"b", {}},
        {"position 2.6 rounds to 3", Value::real(2.6), u"c", {}},
        {"key", S(u"c"), u"c", {}},
        {"key in other letter case", S(u"B"), u"b", {}},
        {"string of digits is a key", S(u"2"), nullptr, kNoSuchKey},
        {"unknown key", S(u"zzz"), nullptr, kNoSuchKey},
        {"Empty is the empty key", Value::empty(), nullptr, kNoSuchKey},
        {"position 0", N(0), nullptr, kOutOfRange},
        {"position -1", N(-1), nullptr, kOutOfRange},
        {"position 4", N(4), nullptr, kOutOfRange},
        {"position 32768", N(32768), nullptr, kOutOfRange},
        {"position 0.5 rounds to 0", Value::real(0.5), nullptr, kOutOfRange},
        {"position 1e300", Value::real(1e300), nullptr, kOutOfRange},
        {"position NaN", Value::real(std::numeric_limits<double>::quiet_NaN()), nullptr, kOutOfRange},
        {"position 2^63-1", N(std::numeric_limits<std::int64_t>::max()), nullptr, kOutOfRange},
        {"true is -1", Value::boolean(true), nullptr, kOutOfRange},
        {"Null", Value::null(), nullptr, kTypeMismatch},
        {"Missing", Value::missing(), nullptr, kTypeMismatch},
        {"Date", Value::date(2.0), nullptr, kTypeMismatch},
        {"Object", Value::object(), nullptr, kTypeMismatch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto item = items->MenuItem(c.key);
        if (c.found) {
            ASSERT_TRUE(item);
            EXPECT_EQ(item->key(), c.found);
            EXPECT_EQ(newBoxes(), Boxes{});
        } else {
            EXPECT_FALSE(item);
            EXPECT_EQ(newBoxes(), (Boxes{{c.box, kWarning}}));
        }
    }
    EXPECT_EQ(keys(), (Keys{u"a", u"b", u"c"}));
}

TEST_F(LookupTest, RemoveAddressesNumericStringsAsPositions) {
    struct Case {
        const char* what;
        Value key;
        Keys left;           // the keys left after the removal (from a, b, c)
        std::u16string box;  // the failure, when nothing is removed
    };
    const Case cases[] = {
        {"key", S(u"b"), {u"a", u"c"}, {}},
        {"key in other letter case", S(u"C"), {u"a", u"b"}, {}},
        {"string \"2\" is position 2", S(u"2"), {u"a", u"c"}, {}},
        {"string \" 3.0 \" is position 3", S(u" 3.0 "), {u"a", u"b"}, {}},
        {"string \"1e0\" is position 1", S(u"1e0"), {u"b", u"c"}, {}},
        {"number 1", N(1), {u"b", u"c"}, {}},
        {"number 2.5 rounds to 2", Value::real(2.5), {u"a", u"c"}, {}},
        {"string \"2.5\" rounds to 2", S(u"2.5"), {u"a", u"c"}, {}},
        {"unknown key", S(u"zzz"), {u"a", u"b", u"c"}, kNoSuchKey},
        {"\"2x\" is a key", S(u"2x"), {u"a", u"b", u"c"}, kNoSuchKey},
        {"position 0", N(0), {u"a", u"b", u"c"}, kOutOfRange},
        {"position -1", N(-1), {u"a", u"b", u"c"}, kOutOfRange},
        {"string \"-1\"", S(u"-1"), {u"a", u"b", u"c"}, kOutOfRange},
        {"position 32768", N(32768), {u"a", u"b", u"c"}, kOutOfRange},
        {"string \"32768\"", S(u"32768"), {u"a", u"b", u"c"}, kOutOfRange},
        {"string \"1e999\"", S(u"1e999"), {u"a", u"b", u"c"}, kOutOfRange},
        {"false is 0", Value::boolean(false), {u"a", u"b", u"c"}, kOutOfRange},
        {"Null", Value::null(), {u"a", u"b", u"c"}, kTypeMismatch},
        {"Object", Value::object(), {u"a", u"b", u"c"}, kTypeMismatch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        items->Clear();
        add(u"a");
        add(u"b");
        add(u"c");
        items->Remove(c.key);
        EXPECT_EQ(keys(), c.left);
        if (c.box.empty()) {
            EXPECT_EQ(newBoxes(), Boxes{});
        } else {
            EXPECT_EQ(newBoxes(), (Boxes{{c.box, kWarning}}));
        }
    }
}

TEST_F(CollectionTest, RemoveTakesOutTheWholeSubtreeAndKeepsTheRestInOrder) {
    // file (1) > recent (2) > one (4), two (6); file > open (3); edit (5) > copy (7); file > close (8)
    const auto file = add(u"file");
    add(u"recent", S(u"file"));
    add(u"open", S(u"file"));
    add(u"one", S(u"recent"));
    const auto edit = add(u"edit");
    add(u"two", S(u"recent"));
    add(u"copy", S(u"edit"));
    add(u"close", S(u"file"));
    add(u"help");

    items->Remove(S(u"recent"));
    EXPECT_EQ(keys(), (Keys{u"file", u"open", u"edit", u"copy", u"close", u"help"}));
    EXPECT_EQ(file->IsSubMenu(), MenuItem::True);  // still true: it has other children

    items->Remove(S(u"copy"));
    EXPECT_EQ(edit->IsSubMenu(), MenuItem::True);  // stays true when the last child is gone

    items->Remove(N(1));  // file, by position, with open and close
    EXPECT_EQ(keys(), (Keys{u"edit", u"help"}));
    EXPECT_EQ(boxes(), Boxes{});
}

TEST_F(CollectionTest, RemoveByNumericStringTakesOutTheSubtreeOfThatPosition) {
    add(u"x");
    add(u"menu");
    add(u"sub", S(u"menu"));
    add(u"leaf", S(u"sub"));
    add(u"y");
    items->Remove(S(u"2"));
    EXPECT_EQ(keys(), (Keys{u"x", u"y"}));
    EXPECT_EQ(boxes(), Boxes{});
}

TEST_F(CollectionTest, ClearEmptiesTheCollectionAndRestartsNumbering) {
    add(u"a");
    add(u"b", S(u"a"));
    const MenuItems* before = items.get();
    items->Clear();
    EXPECT_EQ(items.get(), before);
    EXPECT_EQ(items->Count(), 0);
    EXPECT_EQ(items->size(), 0u);
    EXPECT_EQ(items->itemAt(1), nullptr);
    EXPECT_FALSE(items->MenuItem(S(u"a")));
    EXPECT_EQ(newBoxes(), (Boxes{{kNoSuchKey, kWarning}}));
    EXPECT_EQ(add(u"a")->ItemID(), 1);
    items->Clear();
    items->Clear();
    EXPECT_EQ(items->Count(), 0);
    EXPECT_EQ(newBoxes(), Boxes{});
}

TEST_F(CollectionTest, CountOfAnEmptyCollectionIsZero) {
    EXPECT_EQ(items->Count(), 0);
    add(u"a");
    add(u"b");
    EXPECT_EQ(items->Count(), 2);
    items->Remove(S(u"a"));
    EXPECT_EQ(items->Count(), 1);
    EXPECT_EQ(boxes(), Boxes{});
}

}  // namespace
}  // namespace popupmenu::testing
