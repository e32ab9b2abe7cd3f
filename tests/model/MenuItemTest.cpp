// The item record, and how long items live: a child keeps its parent (and every ancestor)
// alive, an item never keeps its children, and releasing the collection frees what nobody holds.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "tests/model/ModelFixture.h"

namespace popupmenu::testing {
namespace {

TEST(MenuItemTest, ANewItemHasTheInitialValues) {
    const auto item = makeRef<MenuItem>();
    EXPECT_EQ(item->Text(), u"");
    EXPECT_EQ(item->key(), u"");
    EXPECT_EQ(item->Enabled(), MenuItem::True);
    EXPECT_EQ(item->Checked(), MenuItem::False);
    EXPECT_EQ(item->IsSubMenu(), MenuItem::False);
    EXPECT_EQ(item->Parent(), nullptr);
    EXPECT_EQ(item->NormalPictureIndex(), -1);
    EXPECT_EQ(item->CheckedPictureIndex(), -1);
    EXPECT_EQ(item->Visible(), MenuItem::True);
    EXPECT_EQ(item->ItemID(), -1);
}

TEST(MenuItemTest, SettersStoreWhatTheyAreGiven) {
    const auto item = makeRef<MenuItem>();
    item->setText(u"&Open\tCtrl+O");
    item->setEnabled(5);  // any non-zero is true to readers; the value itself is kept
    item->setChecked(-1);
    item->setVisible(0);
    item->setNormalPictureIndex(-5);
    item->setCheckedPictureIndex(1 << 30);
    EXPECT_EQ(item->Text(), u"&Open\tCtrl+O");
    EXPECT_EQ(item->Enabled(), 5);
    EXPECT_EQ(item->Checked(), -1);
    EXPECT_EQ(item->Visible(), 0);
    EXPECT_EQ(item->NormalPictureIndex(), -5);
    EXPECT_EQ(item->CheckedPictureIndex(), 1 << 30);
    EXPECT_EQ(item->key(), u"");  // an item made directly belongs to no collection
    EXPECT_EQ(item->ItemID(), -1);
}

// Items that report their destruction, made by the collection through newItem as the
// automation layer makes its own.
class TrackedItem : public MenuItem {
public:
    explicit TrackedItem(std::set<std::u16string>* destroyed) : destroyed_(destroyed) {}
    ~TrackedItem() override { destroyed_->insert(key()); }

private:
    std::set<std::u16string>* destroyed_;
};

class TrackedItems : public MenuItems {
public:
    TrackedItems(Platform& platform, std::set<std::u16string>* destroyed) : MenuItems(platform), destroyed_(destroyed) {}

protected:
    Ref<popupmenu::MenuItem> newItem() override { return Ref<popupmenu::MenuItem>(new TrackedItem(destroyed_)); }

private:
    std::set<std::u16string>* destroyed_;
};

class LifetimeTest : public CollectionTest {
protected:
    LifetimeTest() { items = makeRef<TrackedItems>(platform, &destroyed); }
    ~LifetimeTest() override { items = nullptr; }

    std::set<std::u16string> destroyed;
};

TEST_F(LifetimeTest, TheCollectionHandsOutItsOwnObjects) {
    const auto file = add(u"file");
    EXPECT_NE(dynamic_cast<TrackedItem*>(file.get()), nullptr);
    EXPECT_EQ(items->MenuItem(S(u"FILE")).get(), file.get());
    EXPECT_EQ(items->MenuItem(N(1)).get(), file.get());
    EXPECT_EQ(items->itemAt(1), file.get());
    EXPECT_EQ(file->referenceCount(), 2u);  // the collection's and ours
}

TEST_F(LifetimeTest, ParentIsTheParentObjectItself) {
    const auto file = add(u"file");
    const auto open = add(u"open", S(u"file"));
    EXPECT_EQ(open->Parent(), file.get());
    EXPECT_EQ(open->Parent(), open->Parent());
    open->Parent()->setText(u"Datei");
    EXPECT_EQ(file->Text(), u"Datei");
    EXPECT_EQ(file->referenceCount(), 3u);  // collection, child, ours: the child holds its parent
    EXPECT_EQ(open->referenceCount(), 2u);  // the parent does not hold its child
}

TEST_F(LifetimeTest, AHeldChildKeepsItsRemovedAncestorsAlive) {
    add(u"file");
    add(u"recent", S(u"file"));
    auto document = add(u"document", S(u"recent"));
    add(u"other");
    items->Remove(S(u"file"));
    EXPECT_EQ(keys(), (std::vector<std::u16string>{u"other"}));
    EXPECT_TRUE(destroyed.empty());

    ASSERT_NE(document->Parent(), nullptr);
    EXPECT_EQ(document->Parent()->key(), u"recent");
    ASSERT_NE(document->Parent()->Parent(), nullptr);
    EXPECT_EQ(document->Parent()->Parent()->key(), u"file");
    EXPECT_EQ(document->Parent()->Parent()->Text(), u"label file");

    document = nullptr;
    EXPECT_EQ(destroyed, (std::set<std::u16string>{u"file", u"recent", u"document"}));
}

TEST_F(LifetimeTest, ReleasingTheCollectionFreesEveryItemNobodyHolds) {
    add(u"a");
    add(u"b", S(u"a"));
    add(u"c", S(u"b"));
    const auto held = add(u"d");
    add(u"e", S(u"d"));
    items = nullptr;
    EXPECT_EQ(destroyed, (std::set<std::u16string>{u"a", u"b", u"c", u"e"}));
    EXPECT_EQ(held->referenceCount(), 1u);
    EXPECT_EQ(held->IsSubMenu(), MenuItem::True);
}

TEST_F(LifetimeTest, ClearReleasesItemsAndHeldOnesKeepTheirFields) {
    add(u"a");
    const auto child = add(u"b", S(u"a"));
    add(u"c");
    items->Clear();
    EXPECT_EQ(items->Count(), 0);
    EXPECT_EQ(destroyed, (std::set<std::u16string>{u"c"}));  // a lives on as b's parent
    EXPECT_EQ(child->key(), u"b");
    EXPECT_EQ(child->ItemID(), 2);
    ASSERT_NE(child->Parent(), nullptr);
    EXPECT_EQ(child->Parent()->key(), u"a");
    EXPECT_EQ(add(u"b")->ItemID(), 1);  // a new collection: the key is free and numbering restarts
}

TEST_F(LifetimeTest, FailedAddsLeaveNoItemBehind) {
    add(u"a");
    EXPECT_FALSE(items->Add(S(u"A"), u"duplicate"));
    EXPECT_FALSE(items->Add(S(u"b"), u"no parent", S(u"missing")));
    EXPECT_FALSE(items->Add(S(u"c"), u"too big", Value::missing(), Value::real(1e12)));
    EXPECT_EQ(destroyed, (std::set<std::u16string>{u"", u"b", u"c"}));  // the duplicate never got its key
    EXPECT_EQ(keys(), (std::vector<std::u16string>{u"a"}));
}

TEST_F(LifetimeTest, AChainOfThousandsOfAncestorsIsFreedWithoutDeepRecursion) {
    // Freeing each ancestor from inside its child's destructor would nest one call per level.
    constexpr int depth = static_cast<int>(MenuItems::kMaxCount);
    ASSERT_TRUE(items->Add(S(u"k0"), u"root"));
    for (int level = 1; level < depth; ++level) {
        ASSERT_TRUE(items->Add(S(numbered(u"k", level)), u"", N(level)));
    }
    auto deepest = items->MenuItem(N(depth));
    items->Clear();
    EXPECT_TRUE(destroyed.empty());
    int ancestors = 0;
    for (const MenuItem* item = deepest->Parent(); item != nullptr; item = item->Parent()) ++ancestors;
    EXPECT_EQ(ancestors, depth - 1);
    deepest = nullptr;
    EXPECT_EQ(destroyed.size(), static_cast<std::size_t>(depth));
}

}  // namespace
}  // namespace popupmenu::testing
