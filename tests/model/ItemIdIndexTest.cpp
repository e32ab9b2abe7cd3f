// ItemID: numbering that never gives an identifier twice, and the index from ItemID to the
// lowest position holding it, which the engine and renderer use instead of a search.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <string>

#include "tests/model/ModelFixture.h"

namespace popupmenu::testing {
namespace {

using IDs = std::vector<std::int32_t>;

class ItemIdTest : public CollectionTest {
protected:
    IDs ids() const {
        IDs result;
        for (std::size_t position = 1; position <= items->size(); ++position) result.push_back(items->itemAt(position)->ItemID());
        return result;
    }
    // What positionOfItemID must answer: the lowest position holding the identifier, or 0.
    std::size_t searched(std::int32_t itemID) const {
        for (std::size_t position = 1; position <= items->size(); ++position) {
            if (items->itemAt(position)->ItemID() == itemID) return position;
        }
        return 0;
    }
};

TEST_F(ItemIdTest, AGrowingCollectionHasItemIDnAtPositionN) {
    for (int i = 1; i <= 50; ++i) add(numbered(u"k", i), i > 1 ? N(i / 2) : Value::missing());
    for (std::int32_t n = 1; n <= 50; ++n) {
        EXPECT_EQ(items->itemAt(static_cast<std::size_t>(n))->ItemID(), n);
        EXPECT_EQ(items->positionOfItemID(n), static_cast<std::size_t>(n));
    }
    EXPECT_EQ(items->positionOfItemID(0), 0u);
    EXPECT_EQ(items->positionOfItemID(51), 0u);
    EXPECT_EQ(items->positionOfItemID(-1), 0u);
}

TEST_F(ItemIdTest, IdentifiersStayUniqueAfterRemovals) {
    add(u"a");
    add(u"b");
    add(u"c");
    add(u"d");
    items->Remove(S(u"b"));
    // Numbering by the count would give the next item 4, which d still has.
    EXPECT_EQ(add(u"e")->ItemID(), 5);
    EXPECT_EQ(ids(), (IDs{1, 3, 4, 5}));
    EXPECT_EQ(items->positionOfItemID(2), 0u);
    EXPECT_EQ(items->positionOfItemID(3), 2u);
    EXPECT_EQ(items->positionOfItemID(4), 3u);
    EXPECT_EQ(items->positionOfItemID(5), 4u);
}

TEST_F(ItemIdTest, FailedAddsUseUpNoIdentifier) {
    add(u"a");
    items->Add(S(u"A"), u"");
    items->Add(S(u"b"), u"", S(u"nobody"));
    items->Add(S(u"1"), u"");
    EXPECT_EQ(add(u"b")->ItemID(), 2);
}

TEST_F(ItemIdTest, ClearEmptiesTheIndexAndNumberingStartsAgain) {
    add(u"a");
    add(u"b");
    items->Clear();
    EXPECT_EQ(items->positionOfItemID(1), 0u);
    EXPECT_EQ(items->positionOfItemID(2), 0u);
    add(u"c");
    EXPECT_EQ(items->positionOfItemID(1), 1u);
    EXPECT_EQ(items->positionOfItemID(2), 0u);
}

TEST_F(ItemIdTest, SetItemIDMovesTheItemInTheIndexAndDuplicatesAnswerTheLowestPosition) {
    for (const auto* key : {u"a", u"b", u"c", u"d", u"e"}) add(key);
    const std::int32_t submenuHandle = 0x00A3012C;
    items->setItemID(4, submenuHandle);
    EXPECT_EQ(items->itemAt(4)->ItemID(), submenuHandle);
    EXPECT_EQ(items->positionOfItemID(submenuHandle), 4u);
    EXPECT_EQ(items->positionOfItemID(4), 0u);

    items->setItemID(2, submenuHandle);  // two items with one identifier: the first wins
    EXPECT_EQ(items->positionOfItemID(submenuHandle), 2u);
    items->Remove(N(2));
    EXPECT_EQ(items->positionOfItemID(submenuHandle), 3u);  // d moved up to position 3
    items->setItemID(3, 77);
    EXPECT_EQ(items->positionOfItemID(submenuHandle), 0u);
    EXPECT_EQ(items->positionOfItemID(77), 3u);

    items->setItemID(3, 77);  // the same identifier again changes nothing
    EXPECT_EQ(items->positionOfItemID(77), 3u);
    items->setItemID(1, 5);  // e has 5 too; a, before it, now wins
    EXPECT_EQ(items->positionOfItemID(5), 1u);
    items->setItemID(1, 1);
    EXPECT_EQ(items->positionOfItemID(5), 4u);
}

TEST_F(ItemIdTest, SetItemIDOutsideThePositionsFailsAndChangesNothing) {
    add(u"a");
    for (const std::size_t position : {std::size_t{0}, std::size_t{2}, std::size_t{32768}}) {
        try {
            items->setItemID(position, 9);
            ADD_FAILURE() << "position " << position;
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.number(), error::SubscriptOutOfRange);
        }
    }
    EXPECT_EQ(ids(), (IDs{1}));
    EXPECT_EQ(items->positionOfItemID(9), 0u);
}

TEST_F(ItemIdTest, TheIndexAgreesWithASearchThroughEveryKindOfChange) {
    // A fixed seed: the same operations on every run. Identifiers are drawn from a small range
    // so that duplicates are common.
    std::mt19937 random(20240611);
    const auto pick = [&](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
    long long nextKey = 0;
    for (int step = 0; step < 3000; ++step) {
        const int operation = pick(100);
        const int count = static_cast<int>(items->size());
        if (operation < 45 || count == 0) {
            const Value parent = count > 0 && pick(3) == 0 ? N(1 + pick(count)) : Value::missing();
            add(numbered(u"k", ++nextKey), parent);
        } else if (operation < 70) {
            items->Remove(N(1 + pick(count)));
        } else if (operation < 98) {
            items->setItemID(static_cast<std::size_t>(1 + pick(count)), pick(40) - 2);
        } else {
            items->Clear();
        }
        for (std::int32_t id = -3; id <= 45; ++id) {
            ASSERT_EQ(items->positionOfItemID(id), searched(id)) << "step " << step << ", ItemID " << id;
        }
    }
    EXPECT_EQ(boxes(), Boxes{});
}

TEST_F(ItemIdTest, NewIdentifiersNeverRepeatWithoutAClear) {
    std::set<std::int32_t> given;
    for (int round = 0; round < 200; ++round) {
        const auto a = add(numbered(u"a", round));
        const auto b = add(numbered(u"b", round), S(numbered(u"a", round)));
        EXPECT_TRUE(given.insert(a->ItemID()).second);
        EXPECT_TRUE(given.insert(b->ItemID()).second);
        if (round % 3 == 0) items->Remove(S(numbered(u"a", round)));
    }
    for (const std::int32_t id : given) EXPECT_GE(id, 1);
}

}  // namespace
}  // namespace popupmenu::testing
