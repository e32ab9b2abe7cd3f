// The native menu builder against the recording platform: flag words, separators, submenus and
// the items that must appear nowhere.

#include <gtest/gtest.h>

#include "engine/BuildMenu.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/AddItem.h"

namespace popupmenu::testing {
namespace {

class BuildMenuTest : public ::testing::Test {
protected:
    RecordingPlatform platform;
    Ref<MenuItems> items = makeRef<MenuItems>(platform);
    Handle root = platform.createPopupMenu();  // 0x1000; PopUp makes it the same way

    BuiltMenu build() {
        platform.clearCalls();
        return BuildMenu(platform, items.get(), root);
    }
    // Every menu an AppendMenuW call went to.
    std::set<long long> appendTargets() const {
        std::set<long long> targets;
        for (const Call& call : platform.callsNamed({"AppendMenuW"})) targets.insert(call.args[0]);
        return targets;
    }
};

TEST_F(BuildMenuTest, FlagWordsCoverTheWholeTable) {
    struct Case {
        bool enabled, checked, hasChildren;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {true, false, false, 0x500}, {true, true, false, 0x508}, {false, false, false, 0x503},
        {false, true, false, 0x50B}, {true, false, true, 0x110}, {true, true, true, 0x118},
        {false, false, true, 0x113}, {false, true, true, 0x11B},
    };
    for (const Case& c : cases) {
        items->Clear();
        Ref<MenuItem> item = addItem(*items, u"item", u"Item");
        if (c.hasChildren) addItem(*items, u"child", u"Child", u"item");
        item->setEnabled(c.enabled ? MenuItem::True : MenuItem::False);
        item->setChecked(c.checked ? MenuItem::True : MenuItem::False);
        root = platform.createPopupMenu();
        build();
        ASSERT_FALSE(platform.menuItems(root).empty());
        EXPECT_EQ(platform.menuItems(root)[0].flags, c.flags)
            << "enabled " << c.enabled << " checked " << c.checked << " children " << c.hasChildren;
    }
}

TEST_F(BuildMenuTest, AnyNonZeroBooleanReadsAsTrue) {
    Ref<MenuItem> item = addItem(*items, u"a", u"A");
    item->setEnabled(1);
    item->setChecked(2);
    build();
    EXPECT_EQ(platform.menuItems(root).at(0).flags, 0x508u);
}

TEST_F(BuildMenuTest, SeparatorRuleTrimsOnlySpaces) {
    struct Case {
        std::u16string text;
        bool separator;
    };
    const Case cases[] = {
        {u"-", true},     {u" - ", true},   {u"   -  ", true}, {u"--", false}, {u"-\t", false},
        {u"\t-", false},  {u"- -", false},  {u"", false},      {u"  ", false}, {u"\u00A0-", false},
        {u"\u2013", false},
    };
    for (const Case& c : cases) EXPECT_EQ(isSeparator(c.text), c.separator) << toUtf8(c.text);
}

TEST_F(BuildMenuTest, SeparatorIsPlainWhateverItsOtherPropertiesAndKeepsItsItemID) {
    addItem(*items, u"first", u"First");
    Ref<MenuItem> separator = addItem(*items, u"sep", u" - ");
    addItem(*items, u"hidden", u"Under a separator", u"sep");  // makes the separator a "submenu"
    separator->setEnabled(MenuItem::False);
    separator->setChecked(MenuItem::True);
    addItem(*items, u"dashes", u"--");
    addItem(*items, u"tab", u"-\t");
    build();

    const auto& appended = platform.menuItems(root);
    ASSERT_EQ(appended.size(), 4u);
    EXPECT_EQ(appended[1].flags, 0x800u);
    EXPECT_EQ(appended[1].id, 2);
    EXPECT_EQ(separator->ItemID(), 2);
    EXPECT_EQ(appended[2].flags, 0x500u);  // "--" is an ordinary item
    EXPECT_EQ(appended[3].flags, 0x500u);  // so is a dash beside a tab
    EXPECT_EQ(platform.countOf("CreatePopupMenu"), 0u);
    EXPECT_EQ(appendTargets(), (std::set<long long>{root}));  // the separator's child appears nowhere
}

TEST_F(BuildMenuTest, CommandItemsCarryTheirNumber) {
    addItem(*items, u"a", u"Alpha");
    addItem(*items, u"b", u"Beta");
    const AppendedCommands commands = build().commands;
    EXPECT_EQ(platform.calls(), (Calls{{"AppendMenuW", {root, 0x500, 1}}, {"AppendMenuW", {root, 0x500, 2}}}));
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[1].identifier, 2);
    EXPECT_EQ(commands[1].item->key(), u"b");
}

// Every owner-drawn item, in the root menu and in submenus, command or submenu item, carries a
// record that opens with the accessibility header: the signature, the label's length without the
// NUL, and the label as a native item would carry it. After the header comes the identifier the
// item was appended under. Separators carry no data.
TEST_F(BuildMenuTest, OwnerDrawnItemsCarryARecordOfTheirLabel) {
    addItem(*items, u"open", u"&Open");
    addItem(*items, u"sep", u"-");
    addItem(*items, u"more", u"&More");
    addItem(*items, u"tools", u"Tools && Options", u"more");
    addItem(*items, u"city", u"Citt\u00E0 \u2013 \u00DCn\u00EFc\u00F8d\u00E9", u"more");
    addItem(*items, u"empty", u"", u"more");
    const BuiltMenu built = build();
    ASSERT_EQ(built.submenus.size(), 1u);
    const Handle more = built.submenus[0];

    struct Case {
        Handle menu;
        std::size_t position;
        const char16_t* label;  // nullptr: a separator, no data
        std::int32_t identifier;
    };
    const Case cases[] = {
        {root, 0, u"&Open", 1},
        {root, 1, nullptr, 2},
        {root, 2, u"&More", static_cast<std::int32_t>(more)},
        {more, 0, u"Tools && Options", 4},
        {more, 1, u"Citt\u00E0 \u2013 \u00DCn\u00EFc\u00F8d\u00E9", 5},
        {more, 2, u"", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "menu " << c.menu << " position " << c.position);
        ASSERT_GT(platform.menuItems(c.menu).size(), c.position);
        const std::uintptr_t data = platform.menuItems(c.menu)[c.position].itemData;
        if (c.label == nullptr) {
            EXPECT_EQ(data, 0u);
            continue;
        }
        const ItemRecord* record = ItemRecords::fromItemData(data);
        ASSERT_NE(record, nullptr);
        const std::u16string label(c.label);
        EXPECT_EQ(record->header.dwMSAASignature, 0xAA0DF00Du);
        EXPECT_EQ(record->header.cchWText, label.size());
        ASSERT_NE(record->header.pszWText, nullptr);
        EXPECT_EQ(std::u16string(record->header.pszWText), label);  // NUL-terminated where the length ends
        EXPECT_EQ(record->identifier, c.identifier);
    }
}

TEST_F(BuildMenuTest, EmptyCollectionAppendsNothing) {
    EXPECT_TRUE(build().commands.empty());
    EXPECT_TRUE(platform.calls().empty());
}

TEST_F(BuildMenuTest, ThreeLevelsNestEachChildInItsParentsNewSubmenu) {
    addItem(*items, u"top", u"Top");
    addItem(*items, u"middle", u"Middle", u"top");
    addItem(*items, u"leaf", u"Leaf", u"middle");
    addItem(*items, u"after", u"After");
    const BuiltMenu built = build();
    const AppendedCommands& commands = built.commands;

    const Handle topMenu = 0x1001, middleMenu = 0x1002;
    EXPECT_EQ(platform.calls(), (Calls{
                                    {"CreatePopupMenu"},
                                    {"AppendMenuW", {root, 0x110, topMenu}},
                                    {"CreatePopupMenu"},
                                    {"AppendMenuW", {topMenu, 0x110, middleMenu}},
                                    {"AppendMenuW", {middleMenu, 0x500, 3}},
                                    {"AppendMenuW", {root, 0x500, 4}},
                                }));
    EXPECT_EQ(items->itemAt(1)->ItemID(), topMenu);
    EXPECT_EQ(items->itemAt(2)->ItemID(), middleMenu);
    EXPECT_EQ(items->itemAt(3)->ItemID(), 3);
    // The collection's index follows the new identifiers.
    EXPECT_EQ(items->positionOfItemID(middleMenu), 2u);
    // Items that open a submenu are no commands.
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].item->key(), u"leaf");
    EXPECT_EQ(commands[1].item->key(), u"after");
    // The pop-up answers access letters in these menus, and in the root.
    EXPECT_EQ(built.submenus, (std::vector<Handle>{topMenu, middleMenu}));
}

// Each menu's list of the pictures its items show: the normal picture of every item, the checked
// picture only of an item appended checked, nothing for items left out or without pictures.
TEST_F(BuildMenuTest, EachMenuListsThePicturesItsItemsShow) {
    addWithPictures(*items, u"top", u"Top", 1, 9);                      // opens a submenu; not checked
    addItem(*items, u"child", u"Child", u"top")->setNormalPictureIndex(2);
    Ref<MenuItem> checkedChild = addItem(*items, u"checked", u"Checked", u"top");
    checkedChild->setCheckedPictureIndex(4);
    checkedChild->setChecked(MenuItem::True);
    addWithPictures(*items, u"both", u"Both", 5, 6)->setChecked(MenuItem::True);
    addWithPictures(*items, u"hidden", u"Hidden", 7)->setVisible(MenuItem::False);
    addItem(*items, u"plain", u"Plain");
    addWithPictures(*items, u"again", u"Again", 1);

    const BuiltMenu built = build();

    const Handle topMenu = 0x1001;
    EXPECT_EQ(built.pictures, (MenuPictures{{root, {1, 5, 6, 1}}, {topMenu, {2, 4}}}));
}

TEST_F(BuildMenuTest, InvisibleItemLeavesOutItsWholeSubtree) {
    Ref<MenuItem> hidden = addItem(*items, u"hidden", u"Hidden");
    addItem(*items, u"child", u"Child", u"hidden");
    addItem(*items, u"grandchild", u"Grandchild", u"child");
    addItem(*items, u"shown", u"Shown");
    hidden->setVisible(MenuItem::False);
    build();

    EXPECT_EQ(platform.calls(), (Calls{{"AppendMenuW", {root, 0x500, 4}}}));
    // Nothing of the left-out subtree changed.
    EXPECT_EQ(items->itemAt(1)->ItemID(), 1);
    EXPECT_EQ(items->itemAt(2)->ItemID(), 2);
}

TEST_F(BuildMenuTest, ChildrenOfAnItemLeftOutNeverReachItsStaleSubmenu) {
    // A first build gives "parent" a submenu; as far as this build knows, that handle is still a
    // live menu. Once "parent" is invisible, its child must not be appended there.
    Ref<MenuItem> parent = addItem(*items, u"parent", u"Parent");
    addItem(*items, u"child", u"Child", u"parent");
    build();
    const Handle staleSubmenu = parent->ItemID();
    ASSERT_TRUE(platform.liveMenus().count(staleSubmenu));

    parent->setVisible(MenuItem::False);
    root = platform.createPopupMenu();
    build();
    EXPECT_TRUE(platform.calls().empty());
    EXPECT_TRUE(platform.menuItems(root).empty());
}

TEST_F(BuildMenuTest, SubmenuWhoseChildrenAreAllInvisibleIsEmpty) {
    addItem(*items, u"parent", u"Parent");
    Ref<MenuItem> child = addItem(*items, u"child", u"Child", u"parent");
    child->setVisible(MenuItem::False);
    build();
    const Handle submenu = items->itemAt(1)->ItemID();
    EXPECT_EQ(platform.menuItems(root).size(), 1u);
    EXPECT_TRUE(platform.liveMenus().count(submenu));
    EXPECT_TRUE(platform.menuItems(submenu).empty());
}

TEST_F(BuildMenuTest, SubmenuThatCannotBeMadeIsLeftOutWithItsChildren) {
    addItem(*items, u"parent", u"Parent");
    addItem(*items, u"child", u"Child", u"parent");
    addItem(*items, u"other", u"Other");
    platform.queueResult("CreatePopupMenu", 0);
    EXPECT_TRUE(build().submenus.empty());
    EXPECT_EQ(platform.calls(), (Calls{{"CreatePopupMenu"}, {"AppendMenuW", {root, 0x500, 3}}}));
    EXPECT_EQ(items->itemAt(1)->ItemID(), 0);
}

TEST_F(BuildMenuTest, NoRootMenuBuildsNothing) {
    addItem(*items, u"parent", u"Parent");
    addItem(*items, u"child", u"Child", u"parent");
    platform.clearCalls();
    BuildMenu(platform, items.get(), 0);
    EXPECT_TRUE(platform.calls().empty());  // no submenu that nothing would destroy
}

TEST_F(BuildMenuTest, NoCollectionIsReportedInAWarningBox) {
    platform.clearCalls();
    const BuiltMenu built = BuildMenu(platform, nullptr, root);
    EXPECT_TRUE(built.commands.empty());
    EXPECT_TRUE(built.submenus.empty());
    ASSERT_EQ(platform.messageBoxes().size(), 1u);
    EXPECT_EQ(platform.messageBoxes()[0].style, 0x30u);
    EXPECT_EQ(platform.messageBoxes()[0].caption, u"PopUpMenu");
    EXPECT_FALSE(platform.messageBoxes()[0].text.empty());
    EXPECT_EQ(platform.countOf("AppendMenuW"), 0u);
}

TEST(BuildMenuFailure, EndsTheBuildAtTheFailingItemAndKeepsWhatWasAppended) {
    ThrowingPlatform platform;
    Ref<MenuItems> items = makeRef<MenuItems>(platform);
    addItem(*items, u"a", u"A");
    addItem(*items, u"b", u"B");
    addItem(*items, u"c", u"C");
    const Handle root = platform.createPopupMenu();
    platform.clearCalls();
    platform.failOnCall("AppendMenuW", 2);

    const AppendedCommands commands = BuildMenu(platform, items.get(), root).commands;
    EXPECT_EQ(platform.calls(), (Calls{{"AppendMenuW", {root, 0x500, 1}},
                                       {"AppendMenuW", {root, 0x500, 2}},
                                       {"MessageBoxW", {0x30}, u"simulated failure"}}));
    EXPECT_EQ(platform.messageBoxes().at(0).caption, u"PopUpMenu");
    EXPECT_EQ(platform.menuItems(root).size(), 2u);
    ASSERT_EQ(commands.size(), 1u);  // the failing item is not known to have been appended
    EXPECT_EQ(commands[0].item->key(), u"a");
}

}  // namespace
}  // namespace popupmenu::testing
