// Add: how it reads each argument, the boxes of each failure, and what survives a failure.

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "tests/model/ModelFixture.h"

namespace popupmenu::testing {
namespace {

using Keys = std::vector<std::u16string>;

class AddTest : public CollectionTest {
protected:
    // No item of the collection opens a submenu.
    bool noSubMenus() const {
        for (std::size_t position = 1; position <= items->size(); ++position) {
            if (items->itemAt(position)->IsSubMenu()) return false;
        }
        return true;
    }
};

TEST_F(AddTest, StoresTheItemWithItsKeyTextAndPictures) {
    const auto item = items->Add(S(u"Open"), u"&Open...", Value::missing(), N(3), Value::real(7.0));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->key(), u"Open");
    EXPECT_EQ(item->Text(), u"&Open...");
    EXPECT_EQ(item->NormalPictureIndex(), 3);
    EXPECT_EQ(item->CheckedPictureIndex(), 7);
    EXPECT_EQ(item->Parent(), nullptr);
    EXPECT_EQ(item->IsSubMenu(), MenuItem::False);
    EXPECT_EQ(item->Enabled(), MenuItem::True);
    EXPECT_EQ(item->Visible(), MenuItem::True);
    EXPECT_EQ(item->ItemID(), 1);
    EXPECT_EQ(items->Count(), 1);
    EXPECT_EQ(boxes(), Boxes{});
}

TEST_F(AddTest, ThreeItemsOnAnEmptyCollectionAreNumberedOneTwoThree) {
    EXPECT_EQ(add(u"a")->ItemID(), 1);
    EXPECT_EQ(add(u"b")->ItemID(), 2);
    EXPECT_EQ(add(u"c")->ItemID(), 3);
    EXPECT_EQ(keys(), (Keys{u"a", u"b", u"c"}));
}

TEST_F(AddTest, AChildMakesItsParentASubMenu) {
    const auto file = add(u"file");
    add(u"edit");
    const auto open = add(u"open", S(u"FILE"));  // the parent's key with other letter case
    EXPECT_EQ(open->Parent(), file.get());
    EXPECT_EQ(file->IsSubMenu(), MenuItem::True);
    EXPECT_EQ(open->IsSubMenu(), MenuItem::False);
    const auto save = add(u"save", N(1));  // a number is a position
    EXPECT_EQ(save->Parent(), file.get());
    const auto rounded = add(u"close", Value::real(1.4));
    EXPECT_EQ(rounded->Parent(), file.get());
    EXPECT_EQ(items->MenuItem(S(u"edit"))->IsSubMenu(), MenuItem::False);
    EXPECT_EQ(boxes(), Boxes{});
}

TEST_F(AddTest, AnOmittedParentKeyMeansTheTopLevel) {
    // Automation passes an omitted argument in the middle as the error DISP_E_PARAMNOTFOUND.
    const auto item = items->Add(S(u"a"), u"A", Value::errorCode(kDispParamNotFound), N(2));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->Parent(), nullptr);
    EXPECT_EQ(item->NormalPictureIndex(), 2);
}

TEST_F(AddTest, ANumericKeyIsRefusedWithTheInformationBox) {
    add(u"a");
    const Value numericKeys[] = {N(5),          Value::real(2.5),  Value::boolean(true), Value::boolean(false),
                                 S(u"12"),      S(u" -1.5e3 "),    S(u"1."),             S(u"007")};
    for (const auto& key : numericKeys) EXPECT_FALSE(items->Add(key, u"refused", S(u"a")));
    EXPECT_EQ(boxes(), Boxes(std::size(numericKeys), Box{kNumericKey, kInformation}));
    EXPECT_EQ(items->Count(), 1);
    EXPECT_TRUE(noSubMenus());
    EXPECT_EQ(add(u"b")->ItemID(), 2);  // refused keys used up no identifier
}

TEST_F(AddTest, AKeyThatDiffersOnlyInCaseIsADuplicate) {
    const auto stored = items->Add(S(u"Save"), u"Save", Value::missing(), N(4));
    EXPECT_FALSE(items->Add(S(u"SAVE"), u"other", S(u"save"), N(9)));
    EXPECT_EQ(boxes(), (Boxes{{kDuplicateKey, kWarning}}));
    EXPECT_EQ(keys(), (Keys{u"Save"}));
    EXPECT_EQ(items->MenuItem(S(u"save")).get(), stored.get());
    EXPECT_EQ(stored->Text(), u"Save");
    EXPECT_EQ(stored->NormalPictureIndex(), 4);
    EXPECT_EQ(stored->ItemID(), 1);
    EXPECT_TRUE(noSubMenus());  // the failure came before the parent was looked at
}

TEST_F(AddTest, FailuresAfterTheInsertionTakeTheItemOutAgain) {
    struct Case {
        const char* what;
        Value parentKey;
        Value normalPicture;
        Value checkedPicture;
        std::u16string box;
    };
    const Case cases[] = {
        {"unknown parent key", S(u"nobody"), N(1), N(1), kNoSuchKey},
        {"empty string as parent key", S(u""), N(1), N(1), kNoSuchKey},
        {"Empty as parent key", Value::empty(), N(1), N(1), kNoSuchKey},
        {"parent key of digits", S(u"1"), N(1), N(1), kNoSuchKey},
        {"parent position 0", N(0), N(1), N(1), kOutOfRange},
        {"parent position beyond the new item", N(4), N(1), N(1), kOutOfRange},
        {"parent position true (-1)", Value::boolean(true), N(1), N(1), kOutOfRange},
        {"Null parent key", Value::null(), N(1), N(1), kTypeMismatch},
        {"Object parent key", Value::object(), N(1), N(1), kTypeMismatch},
        {"parent is the new item by key", S(u"NEW"), N(1), N(1), kOwnParent},
        {"parent is the new item by position", N(3), N(1), N(1), kOwnParent},
        {"normal picture beyond 32 bits", S(u"a"), Value::real(2147483648.0), N(1), kOverflow},
        {"checked picture beyond 32 bits", S(u"a"), N(1), S(u"-3e9"), kOverflow},
        {"64-bit picture index", S(u"a"), Value::integer(1LL << 40), N(1), kOverflow},
    };
    add(u"a");
    add(u"b");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(items->Add(S(u"new"), u"New", c.parentKey, c.normalPicture, c.checkedPicture));
        EXPECT_EQ(newBoxes(), (Boxes{{c.box, kWarning}}));
        EXPECT_EQ(keys(), (Keys{u"a", u"b"}));
        EXPECT_TRUE(noSubMenus());
    }
    EXPECT_EQ(add(u"new")->ItemID(), 3);  // the key is free again, and no identifier was used up
}

TEST_F(AddTest, PictureIndexesConvertOrMeanNoImage) {
    struct Case {
        const char* what;
        Value argument;
        std::int32_t stored;
    };
    const Case cases[] = {
        {"missing", Value::missing(), -1},        {"Empty", Value::empty(), -1},
        {"empty string", S(u""), -1},             {"word", S(u"seven"), -1},
        {"Null", Value::null(), -1},              {"Date", Value::date(3.0), -1},
        {"2.5", Value::real(2.5), 2},             {"3.5", Value::real(3.5), 4},
        {"-2.5", Value::real(-2.5), -2},          {"\"7\"", S(u"7"), 7},
        {"\" 12 \"", S(u" 12 "), 12},             {"\"2.5\"", S(u"2.5"), 2},
        {"\"1e3\"", S(u"1e3"), 1000},             {"-5", N(-5), -5},
        {"true", Value::boolean(true), -1},       {"false", Value::boolean(false), 0},
        {"largest", N(2147483647), 2147483647},
    };
    long long n = 0;
    for (const auto& c : cases) {
        const auto item = items->Add(S(numbered(u"k", ++n)), u"", Value::missing(), c.argument, c.argument);
        ASSERT_TRUE(item) << c.what;
        EXPECT_EQ(item->NormalPictureIndex(), c.stored) << c.what;
        EXPECT_EQ(item->CheckedPictureIndex(), c.stored) << c.what;
    }
    EXPECT_EQ(boxes(), Boxes{});
}

TEST_F(AddTest, KeysOfOtherTypes) {
    // Empty is the empty-string key, like any other string.
    const auto empty = items->Add(Value::empty(), u"empty");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->key(), u"");
    EXPECT_EQ(items->MenuItem(S(u"")).get(), empty.get());
    EXPECT_FALSE(items->Add(S(u""), u"again"));
    EXPECT_EQ(newBoxes(), (Boxes{{kDuplicateKey, kWarning}}));

    // A value that has no string form cannot be stored, and then there is nothing under it to
    // take out again: the one failure of Add that reaches its caller, after the warning box.
    const Value unusable[] = {Value::null(), Value::missing(), Value::errorCode(13), Value::date(45000.5),
                              Value::object()};
    for (const auto& key : unusable) {
        try {
            items->Add(key, u"unusable", S(u""));
            ADD_FAILURE() << "Add returned normally for key kind " << static_cast<int>(key.kind());
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.number(), error::TypeMismatch);
            EXPECT_EQ(toUtf8(e.description()), toUtf8(kTypeMismatch));
        }
        EXPECT_EQ(newBoxes(), (Boxes{{kTypeMismatch, kWarning}}));
        EXPECT_EQ(keys(), (Keys{u""}));
        EXPECT_TRUE(noSubMenus());
    }
}

TEST_F(AddTest, TheCollectionStopsAtTheLargestCount) {
    for (std::size_t i = 1; i <= MenuItems::kMaxCount; ++i) ASSERT_TRUE(items->Add(S(numbered(u"k", i)), u""));
    EXPECT_FALSE(items->Add(S(u"one more"), u""));
    EXPECT_FALSE(items->Add(S(u"K1"), u""));  // refused before the key is looked at
    EXPECT_EQ(boxes(), (Boxes{{kOverflow, kWarning}, {kOverflow, kWarning}}));
    EXPECT_EQ(items->Count(), 32767);
    EXPECT_EQ(items->itemAt(1)->key(), u"k1");  // nothing was taken out in the clean-up
    EXPECT_EQ(items->MenuItem(S(u"k32767"))->ItemID(), 32767);

    items->Remove(N(1));
    const auto next = items->Add(S(u"one more"), u"");
    ASSERT_TRUE(next);
    EXPECT_EQ(next->ItemID(), 32768);
    EXPECT_EQ(items->Count(), 32767);
}

}  // namespace
}  // namespace popupmenu::testing
