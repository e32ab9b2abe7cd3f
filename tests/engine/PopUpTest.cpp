// PopUp against the recording platform: the order of platform calls on the normal path and on
// every way out, the key that comes back, the hidden owner, and the refused nested pop-up.

#include <gtest/gtest.h>

#include <cstring>

#include "engine/ItemRecords.h"
#include "engine/NuvraPopUpMenu.h"
#include "engine/PopupState.h"
#include "tests/engine/EngineTestSupport.h"

namespace popupmenu::testing {
namespace {

constexpr Handle kOwner = RecordingPlatform::kForegroundWindow;  // 0x4000, of this thread
constexpr Handle kHiddenOwner = 0x4100;                          // the first window the library makes
constexpr Handle kRoot = 0x1000;                                 // the first menu made
constexpr Handle kOwnerDC = 0x2000;
constexpr Handle kMeasuringFont = 0x3000;                        // the first GDI object made
constexpr Handle kMeasuringDC = 0x2001;                          // the memory DC labels are measured on
constexpr Handle kStockFont = 0x9000 + 'f';                      // the font a new DC holds
constexpr long long kHook = RecordingPlatform::kHookProcedure;
constexpr long long kOriginal = RecordingPlatform::kOriginalProcedure;

// The font the open pop-up measures its labels in, the one its measuring DC holds; 0 when no pop-up
// is open.
Handle measuringFontOfOpenPopUp(const RecordingPlatform& platform) {
    const RenderContext* render = popupState().render;
    return render != nullptr ? platform.selectedIn(render->ownerDC, 'f') : 0;
}

class PopUpTest : public ::testing::Test {
protected:
    template <typename P = RecordingPlatform>
    static Ref<NuvraPopUpMenu> makeComponent(P& platform) {
        return makeRef<NuvraPopUpMenu>(static_cast<Platform&>(platform));
    }

    RecordingPlatform platform;
    Ref<NuvraPopUpMenu> component = makeComponent(platform);
    Ref<MenuItems> items = component->MenuItems();
};

TEST_F(PopUpTest, CallsInOrderWithTheHostsForegroundWindow) {
    addItem(*items, u"open", u"Open");
    platform.onTrack = [](Handle, Handle) { return 1; };
    EXPECT_EQ(component->PopUp(), u"open");
    EXPECT_EQ(platform.calls(), (Calls{
                                    {"CreatePopupMenu"},
                                    {"AppendMenuW", {kRoot, 0x500, 1}},
                                    {"GetForegroundWindow"},
                                    {"GetWindowThreadProcessId", {kOwner}},
                                    {"GetCurrentThreadId"},
                                    {"GetDC", {kOwner}},
                                    {"GetCursorPos"},
                                    {"GetThreadDpiAwarenessContext"},
                                    {"GetDpiForWindow", {kOwner}},
                                    {"SystemParametersInfoA", {41, 340, 0}},
                                    {"CreateFontIndirectA"},
                                    {"SystemParametersInfoW", {0x42}},
                                    {"CreateCompatibleDC", {kOwnerDC}},
                                    {"SelectObject", {kMeasuringDC, kMeasuringFont}},
                                    {"SetWindowLongPtrW", {kOwner, -4, kHook}},
                                    {"TrackPopupMenu", {kRoot, 0x102, 300, 200, 0, kOwner}},
                                    {"DestroyMenu", {kRoot}},
                                    {"SetWindowLongPtrW", {kOwner, -4, kOriginal}},
                                    {"ReleaseDC", {kOwner, kOwnerDC}},
                                    {"SelectObject", {kMeasuringDC, kStockFont}},
                                    {"DeleteDC", {kMeasuringDC}},
                                    {"DeleteObject", {kMeasuringFont}},
                                }));
}

TEST_F(PopUpTest, SharedStateDuringAndAfterThePopUp) {
    addItem(*items, u"open", u"Open");
    PopupState seen;
    platform.onTrack = [&](Handle, Handle) {
        const PopupState& state = popupState();
        seen.hRootMenu = state.hRootMenu;
        seen.hOwnerWnd = state.hOwnerWnd;
        seen.hOwnerDC = state.hOwnerDC;
        seen.lPrevWndProc = state.lPrevWndProc;
        EXPECT_EQ(platform.procedureOf(kOwner), kHook);
        return 0;
    };
    component->PopUp();
    EXPECT_EQ(seen.hRootMenu, kRoot);
    EXPECT_EQ(seen.hOwnerWnd, kOwner);
    EXPECT_EQ(seen.hOwnerDC, kOwnerDC);
    EXPECT_EQ(seen.lPrevWndProc, kOriginal);
    // The record keeps the last pop-up's values; the window and the menus are back to normal.
    EXPECT_EQ(popupState().hRootMenu, kRoot);
    EXPECT_EQ(popupState().lPrevWndProc, kOriginal);
    EXPECT_EQ(platform.procedureOf(kOwner), kOriginal);
    EXPECT_TRUE(platform.liveMenus().empty());
}

TEST_F(PopUpTest, ChosenIdentifierMapsToItsKey) {
    addItem(*items, u"file", u"File");
    addItem(*items, u"new", u"New", u"file");
    addItem(*items, u"quit", u"Quit");
    struct Case {
        const char* what;
        std::function<std::int32_t(Handle root)> choose;
        std::u16string key;
    };
    const Case cases[] = {
        {"a top-level command", [](Handle) { return 3; }, u"quit"},
        {"a command inside a submenu", [](Handle) { return 2; }, u"new"},
        {"dismissed", [](Handle) { return 0; }, u""},
        {"a failed or negative result", [](Handle) { return -1; }, u""},
        {"an identifier no item has", [](Handle) { return 99; }, u""},
        // The platform never returns a submenu, and an item that opens one is no answer.
        {"the handle of a submenu", [&](Handle) { return items->itemAt(1)->ItemID(); }, u""},
    };
    for (const Case& c : cases) {
        platform.onTrack = [&](Handle root, Handle) { return c.choose(root); };
        EXPECT_EQ(component->PopUp(), c.key) << c.what;
        EXPECT_TRUE(platform.liveMenus().empty()) << c.what;
        EXPECT_EQ(platform.procedureOf(kOwner), kOriginal) << c.what;
    }
}

// The host changes the collection from a message it handles while the menu is open; the item the
// user saw and chose is still the one whose key comes back.
TEST_F(PopUpTest, ChosenItemChangedInTheCollectionWhileTheMenuIsOpen) {
    struct Case {
        const char* what;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"the chosen item removed", [&] { items->Remove(Value::string(u"quit")); }},
        {"the collection cleared and refilled under the same numbers", [&] {
             items->Clear();
             addItem(*items, u"other", u"Other");
             addItem(*items, u"another", u"Another");
         }},
    };
    for (const Case& c : cases) {
        items->Clear();
        addItem(*items, u"open", u"Open");
        addItem(*items, u"quit", u"Quit");
        platform.onTrack = [&](Handle, Handle) {
            c.change();
            return 2;
        };
        EXPECT_EQ(component->PopUp(), u"quit") << c.what;
    }
}

TEST_F(PopUpTest, SubmenuHandlesAreNewInEveryPopUp) {
    Ref<MenuItem> file = addItem(*items, u"file", u"File");
    addItem(*items, u"new", u"New", u"file");
    EXPECT_EQ(file->ItemID(), 1);

    std::vector<Handle> submenus;
    platform.onTrack = [&](Handle root, Handle) {
        // The submenu hangs in the root menu and holds the child.
        const auto& rootItems = platform.menuItems(root);
        EXPECT_EQ(rootItems.size(), 1u);
        submenus.push_back(rootItems.at(0).id);
        EXPECT_EQ(platform.menuItems(rootItems.at(0).id).at(0).id, 2);
        return 2;
    };
    EXPECT_EQ(component->PopUp(), u"new");
    EXPECT_EQ(file->ItemID(), submenus.at(0));  // the destroyed submenu's handle stays
    EXPECT_NE(file->ItemID(), 1);
    EXPECT_EQ(component->PopUp(), u"new");
    ASSERT_EQ(submenus.size(), 2u);
    EXPECT_NE(submenus[0], submenus[1]);
    EXPECT_EQ(file->ItemID(), submenus[1]);
    EXPECT_TRUE(platform.liveMenus().empty());
}

TEST_F(PopUpTest, EmptyCollectionShowsAnEmptyMenuAndReturnsEmpty) {
    bool tracked = false;
    platform.onTrack = [&](Handle root, Handle) {
        tracked = true;
        EXPECT_TRUE(platform.menuItems(root).empty());
        return 0;
    };
    EXPECT_EQ(component->PopUp(), u"");
    EXPECT_TRUE(tracked);
    EXPECT_TRUE(platform.messageBoxes().empty());
}

TEST_F(PopUpTest, HiddenOwnerWhenTheForegroundWindowIsNotThisThreads) {
    struct Case {
        const char* what;
        std::function<void(RecordingPlatform&)> arrange;
        Calls ownerLookup;
    };
    const Case cases[] = {
        {"no foreground window", [](RecordingPlatform& p) { p.setForeground(0); }, Calls{{"GetForegroundWindow"}}},
        {"another thread's window (a console script host)",
         [](RecordingPlatform& p) { p.setWindowThread(kOwner, 99); },
         Calls{{"GetForegroundWindow"}, {"GetWindowThreadProcessId", {kOwner}}, {"GetCurrentThreadId"}}},
    };
    for (const Case& c : cases) {
        RecordingPlatform platform;
        c.arrange(platform);
        Ref<NuvraPopUpMenu> component = makeComponent(platform);
        addItem(*component->MenuItems(), u"open", u"Open");
        MeasureItemRecord measure{1, 0, 1, 0, 0, 0};
        platform.onTrack = [&](Handle, Handle owner) {
            // The owner-draw requests reach the hook on the library's own window.
            platform.deliver(owner, win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure));
            return 1;
        };
        EXPECT_EQ(component->PopUp(), u"open") << c.what;
        EXPECT_NE(measure.itemWidth, 0u) << c.what;

        Calls expected{{"CreatePopupMenu"}, {"AppendMenuW", {kRoot, 0x500, 1}}};
        expected.insert(expected.end(), c.ownerLookup.begin(), c.ownerLookup.end());
        const Calls rest{
            {"CreateWindowExW"},
            {"GetDC", {kHiddenOwner}},
            {"GetCursorPos"},
            {"SetWindowLongPtrW", {kHiddenOwner, -4, kHook}},
            {"SetForegroundWindow", {kHiddenOwner}},
            {"TrackPopupMenu", {kRoot, 0x102, 300, 200, 0, kHiddenOwner}},
            {"PostMessageW", {kHiddenOwner, 0, 0, 0}},
            {"DestroyMenu", {kRoot}},
            {"SetWindowLongPtrW", {kHiddenOwner, -4, kOriginal}},
            {"ReleaseDC", {kHiddenOwner, kOwnerDC}},
            {"DestroyWindow", {kHiddenOwner}},
        };
        expected.insert(expected.end(), rest.begin(), rest.end());
        EXPECT_EQ(platform.callsNamed({"CreatePopupMenu", "AppendMenuW", "GetForegroundWindow",
                                       "GetWindowThreadProcessId", "GetCurrentThreadId", "CreateWindowExW", "GetDC",
                                       "GetCursorPos", "SetWindowLongPtrW", "SetForegroundWindow", "TrackPopupMenu",
                                       "PostMessageW", "DestroyMenu", "ReleaseDC", "DestroyWindow"}),
                  expected)
            << c.what;
    }
}

// Each owner-drawn item's data points to its record for as long as the menu tree exists: while the
// menu is open, also after the host emptied the collection from a message it handled, and until the
// tree is destroyed. (Under AddressSanitizer, a record released or a label freed too early is a
// use after free here.)
TEST_F(PopUpTest, ItemRecordsLiveAsLongAsTheMenuTree) {
    addItem(*items, u"open", u"&Open");
    addItem(*items, u"sep", u"-");
    addItem(*items, u"more", u"&More");
    addItem(*items, u"tools", u"Tools && Options", u"more");
    addItem(*items, u"city", u"Citt\u00E0 \u2013 \u00DCn\u00EFc\u00F8d\u00E9", u"more");
    using Labels = std::vector<std::u16string>;
    const Labels expected{u"&Open", u"&More", u"Tools && Options", u"Citt\u00E0 \u2013 \u00DCn\u00EFc\u00F8d\u00E9"};
    // The labels of the tree's owner-drawn items, menu by menu, as an accessibility client reads them.
    const auto labelsOf = [&](Handle root) {
        Labels labels;
        std::vector<Handle> menus{root};
        for (std::size_t next = 0; next < menus.size(); ++next) {
            for (const AppendedItem& appended : platform.menuItems(menus[next])) {
                if (appended.flags & win::MF_SEPARATOR) continue;
                if (appended.flags & win::MF_POPUP) menus.push_back(appended.id);
                const ItemRecord* record = ItemRecords::fromItemData(appended.itemData);
                if (record == nullptr) continue;
                labels.emplace_back(record->header.pszWText, record->header.cchWText);
            }
        }
        return labels;
    };
    Labels whileOpen, whenDestroyed;
    platform.onTrack = [&](Handle root, Handle) {
        items->Clear();
        whileOpen = labelsOf(root);
        return 0;
    };
    platform.onDestroyMenu = [&](Handle menu) {
        if (menu == kRoot) whenDestroyed = labelsOf(menu);
    };

    component->PopUp();

    EXPECT_EQ(whileOpen, expected);
    EXPECT_EQ(whenDestroyed, expected);
    EXPECT_TRUE(platform.liveMenus().empty());
}

// The theme is read once, when the pop-up opens: every item of the pop-up is drawn in it, also if
// the user switches themes while the menu is open.
TEST_F(PopUpTest, HighContrastIsReadOnceWhenThePopUpOpens) {
    addItem(*items, u"open", u"Open");
    for (bool on : {false, true}) {
        platform.setHighContrast(on);
        platform.clearCalls();
        bool seen = !on;
        platform.onTrack = [&](Handle, Handle) {
            platform.setHighContrast(!on);
            seen = popupState().render->highContrast;
            return 0;
        };
        component->PopUp();
        EXPECT_EQ(seen, on);
        EXPECT_EQ(platform.countOf("SystemParametersInfoW"), 1u);
    }
}

TEST_F(PopUpTest, EveryLabelIsMeasuredInOneFontMadeFromTheMenuFontWhenThePopUpOpens) {
    addItem(*items, u"open", u"Open");
    addItem(*items, u"save", u"Save as");
    LogFontA menuFont;
    std::strcpy(menuFont.lfFaceName.data(), "Tahoma");
    platform.setMenuFont(menuFont);
    Handle fontDuringPopUp = 0;
    std::vector<std::uint32_t> widths;
    platform.onTrack = [&](Handle, Handle owner) {
        fontDuringPopUp = measuringFontOfOpenPopUp(platform);
        for (std::uint32_t itemID : {1u, 2u, 1u}) {
            MeasureItemRecord measure{win::ODT_MENU, 0, itemID, 0, 0, 0};
            platform.deliver(owner, win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure));
            widths.push_back(measure.itemWidth);
        }
        return 0;
    };

    component->PopUp();

    EXPECT_EQ(fontDuringPopUp, kMeasuringFont);
    EXPECT_EQ(platform.countOf("SystemParametersInfoA"), 1u);
    EXPECT_EQ(platform.countOf("CreateFontIndirectA"), 1u);
    // The font is selected once, into a DC of the pop-up's own, and each label is measured once
    // there: the second request for the first item is answered with the size it keeps. The
    // owner's DC keeps its own font throughout.
    EXPECT_EQ(widths, (std::vector<std::uint32_t>{4 * 7 + 30, 7 * 7 + 30, 4 * 7 + 30}));
    EXPECT_EQ(platform.callsNamed({"SelectObject", "DrawTextW"}),
              (Calls{{"SelectObject", {kMeasuringDC, kMeasuringFont}},
                     {"DrawTextW", {kMeasuringDC, 4, 0, 0, 0, 0, 0x400}, u"Open"},
                     {"DrawTextW", {kMeasuringDC, 7, 0, 0, 0, 0, 0x400}, u"Save as"},
                     {"SelectObject", {kMeasuringDC, kStockFont}}}));
    // The font lives exactly as long as the pop-up.
    EXPECT_TRUE(platform.liveGdiObjects().empty());
    EXPECT_TRUE(platform.deletedWhileSelected().empty());
    EXPECT_EQ(measuringFontOfOpenPopUp(platform), 0);

    // A change of the system menu font shows at the next pop-up.
    std::strcpy(menuFont.lfFaceName.data(), "Verdana");
    platform.setMenuFont(menuFont);
    component->PopUp();
    ASSERT_EQ(platform.fontsCreated().size(), 2u);
    EXPECT_STREQ(platform.fontsCreated()[0].lfFaceName.data(), "Tahoma");
    EXPECT_STREQ(platform.fontsCreated()[1].lfFaceName.data(), "Verdana");
    EXPECT_TRUE(platform.liveGdiObjects().empty());
}

TEST_F(PopUpTest, WithoutAMeasuringDCEachRequestSelectsTheFontIntoTheOwnersDC) {
    addItem(*items, u"open", u"Open");
    platform.fail("CreateCompatibleDC");
    std::uint32_t width = 0;
    platform.onTrack = [&](Handle, Handle owner) {
        MeasureItemRecord measure{win::ODT_MENU, 0, 1, 0, 0, 0};
        platform.deliver(owner, win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure));
        width = measure.itemWidth;
        return 0;
    };

    component->PopUp();

    EXPECT_EQ(width, 4u * 7 + 30);
    EXPECT_EQ(platform.callsNamed({"SelectObject", "DrawTextW"}),
              (Calls{{"SelectObject", {kOwnerDC, kMeasuringFont}},
                     {"DrawTextW", {kOwnerDC, 4, 0, 0, 0, 0, 0x400}, u"Open"},
                     {"SelectObject", {kOwnerDC, kStockFont}}}));
    EXPECT_TRUE(platform.liveGdiObjects().empty());
}

// Every way out of a pop-up, with the platform calls it makes from the owner onwards.
TEST(PopUpFailure, EveryWayOutCleansUpInOrder) {
    struct Case {
        const char* what;
        std::function<void(ThrowingPlatform&)> arrange;
        Calls calls;  // from GetForegroundWindow onwards
        bool warned;
    };
    const auto throwInModalLoop = [](ThrowingPlatform& p) {
        p.onTrack = [](Handle, Handle) -> std::int32_t { throw simulatedFailure(); };
    };
    const Case cases[] = {
        {"a failure inside the modal loop", throwInModalLoop,
         Calls{{"GetForegroundWindow"},
               {"GetWindowThreadProcessId", {kOwner}},
               {"GetCurrentThreadId"},
               {"GetDC", {kOwner}},
               {"GetCursorPos"},
               {"GetThreadDpiAwarenessContext"},
               {"GetDpiForWindow", {kOwner}},
               {"SystemParametersInfoA", {41, 340, 0}},
               {"CreateFontIndirectA"},
               {"SystemParametersInfoW", {0x42}},
               {"CreateCompatibleDC", {kOwnerDC}},
               {"SelectObject", {kMeasuringDC, kMeasuringFont}},
               {"SetWindowLongPtrW", {kOwner, -4, kHook}},
               {"TrackPopupMenu", {kRoot, 0x102, 300, 200, 0, kOwner}},
               {"DestroyMenu", {kRoot}},
               {"SetWindowLongPtrW", {kOwner, -4, kOriginal}},
               {"ReleaseDC", {kOwner, kOwnerDC}},
               {"SelectObject", {kMeasuringDC, kStockFont}},
               {"DeleteDC", {kMeasuringDC}},
               {"DeleteObject", {kMeasuringFont}},
               {"MessageBoxW", {0x30}, u"simulated failure"}},
         true},
        {"a failure inside the modal loop of a hidden owner",
         [&](ThrowingPlatform& p) {
             p.setForeground(0);
             throwInModalLoop(p);
         },
         Calls{{"GetForegroundWindow"},
               {"CreateWindowExW"},
               {"GetDC", {kHiddenOwner}},
               {"GetCursorPos"},
               {"GetThreadDpiAwarenessContext"},
               {"GetDpiForWindow", {kHiddenOwner}},
               {"SystemParametersInfoA", {41, 340, 0}},
               {"CreateFontIndirectA"},
               {"SystemParametersInfoW", {0x42}},
               {"CreateCompatibleDC", {kOwnerDC}},
               {"SelectObject", {kMeasuringDC, kMeasuringFont}},
               {"SetWindowLongPtrW", {kHiddenOwner, -4, kHook}},
               {"SetForegroundWindow", {kHiddenOwner}},
               {"TrackPopupMenu", {kRoot, 0x102, 300, 200, 0, kHiddenOwner}},
               {"DestroyMenu", {kRoot}},
               {"SetWindowLongPtrW", {kHiddenOwner, -4, kOriginal}},
               {"ReleaseDC", {kHiddenOwner, kOwnerDC}},
               {"DestroyWindow", {kHiddenOwner}},
               {"SelectObject", {kMeasuringDC, kStockFont}},
               {"DeleteDC", {kMeasuringDC}},
               {"DeleteObject", {kMeasuringFont}},
               {"MessageBoxW", {0x30}, u"simulated failure"}},
         true},
        {"a failure before the hook", [](ThrowingPlatform& p) { p.failOnCall("GetCursorPos"); },
         Calls{{"GetForegroundWindow"},
               {"GetWindowThreadProcessId", {kOwner}},
               {"GetCurrentThreadId"},
               {"GetDC", {kOwner}},
               {"GetCursorPos"},
               {"DestroyMenu", {kRoot}},
               {"ReleaseDC", {kOwner, kOwnerDC}},
               {"MessageBoxW", {0x30}, u"simulated failure"}},
         true},
        {"the window procedure cannot be replaced", [](ThrowingPlatform& p) { p.fail("SetWindowLongPtrW"); },
         Calls{{"GetForegroundWindow"},
               {"GetWindowThreadProcessId", {kOwner}},
               {"GetCurrentThreadId"},
               {"GetDC", {kOwner}},
               {"GetCursorPos"},
               {"GetThreadDpiAwarenessContext"},
               {"GetDpiForWindow", {kOwner}},
               {"SystemParametersInfoA", {41, 340, 0}},
               {"CreateFontIndirectA"},
               {"SystemParametersInfoW", {0x42}},
               {"CreateCompatibleDC", {kOwnerDC}},
               {"SelectObject", {kMeasuringDC, kMeasuringFont}},
               {"SetWindowLongPtrW", {kOwner, -4, kHook}},
               {"DestroyMenu", {kRoot}},
               {"ReleaseDC", {kOwner, kOwnerDC}},
               {"SelectObject", {kMeasuringDC, kStockFont}},
               {"DeleteDC", {kMeasuringDC}},
               {"DeleteObject", {kMeasuringFont}},
               {"MessageBoxW", {0x30}, u"The menu cannot be shown: the owner window's procedure could not be replaced"}},
         true},
        {"no owner window can be made",
         [](ThrowingPlatform& p) {
             p.setForeground(0);
             p.fail("CreateWindowExW");
         },
         Calls{{"GetForegroundWindow"},
               {"CreateWindowExW"},
               {"DestroyMenu", {kRoot}},
               {"MessageBoxW", {0x30}, u"The menu cannot be shown: no owner window could be made"}},
         true},
    };
    for (const Case& c : cases) {
        ThrowingPlatform platform;
        c.arrange(platform);
        Ref<NuvraPopUpMenu> component = makeRef<NuvraPopUpMenu>(static_cast<Platform&>(platform));
        addItem(*component->MenuItems(), u"open", u"Open");
        platform.clearCalls();

        EXPECT_EQ(component->PopUp(), u"") << c.what;
        Calls expected{{"CreatePopupMenu"}, {"AppendMenuW", {kRoot, 0x500, 1}}};
        expected.insert(expected.end(), c.calls.begin(), c.calls.end());
        EXPECT_EQ(platform.calls(), expected) << c.what;
        EXPECT_EQ(platform.messageBoxes().size(), c.warned ? 1u : 0u) << c.what;
        if (c.warned) {
            EXPECT_EQ(platform.messageBoxes().at(0).caption, u"PopUpMenu") << c.what;
        }
        EXPECT_TRUE(platform.liveMenus().empty()) << c.what;
        EXPECT_NE(platform.procedureOf(kOwner), kHook) << c.what;
        EXPECT_FALSE(popupState().open) << c.what;
    }
}

TEST(PopUpFailure, FailureWhileBuildingIsReportedAndTheMenuStillShows) {
    ThrowingPlatform platform;
    Ref<NuvraPopUpMenu> component = makeRef<NuvraPopUpMenu>(static_cast<Platform&>(platform));
    addItem(*component->MenuItems(), u"a", u"A");
    addItem(*component->MenuItems(), u"b", u"B");
    platform.failOnCall("AppendMenuW", 2);
    platform.onTrack = [](Handle, Handle) { return 1; };

    EXPECT_EQ(component->PopUp(), u"a");
    const Calls head(platform.calls().begin(), platform.calls().begin() + 5);
    EXPECT_EQ(head, (Calls{{"CreatePopupMenu"},
                           {"AppendMenuW", {kRoot, 0x500, 1}},
                           {"AppendMenuW", {kRoot, 0x500, 2}},
                           {"MessageBoxW", {0x30}, u"simulated failure"},
                           {"GetForegroundWindow"}}));
    EXPECT_EQ(platform.countOf("TrackPopupMenu"), 1u);
}

TEST(PopUpWithoutCollection, ReportsTheMissingCollectionAndReturnsEmpty) {
    RecordingPlatform platform;
    Ref<NuvraPopUpMenu> component =
        makeRef<NuvraPopUpMenu>(platform, [] { return Ref<MenuItems>(); });
    platform.onTrack = [](Handle, Handle) { return 1; };
    EXPECT_EQ(component->PopUp(), u"");
    EXPECT_EQ(platform.messageBoxes().size(), 1u);
    EXPECT_TRUE(platform.liveMenus().empty());
    EXPECT_EQ(platform.procedureOf(kOwner), kOriginal);
}

TEST_F(PopUpTest, NestedPopUpIsRefusedAndLeavesTheOpenOneUntouched) {
    addItem(*items, u"open", u"Open");
    RecordingPlatform otherPlatform;
    Ref<NuvraPopUpMenu> other = makeComponent(otherPlatform);
    addItem(*other->MenuItems(), u"x", u"X");

    platform.onTrack = [&](Handle, Handle) {
        const std::size_t before = platform.calls().size();
        const PopupState stateBefore = popupState();
        // From a message the host handles while the menu is open: the same component, and another.
        EXPECT_EQ(component->PopUp(), u"");
        EXPECT_EQ(other->PopUp(), u"");
        EXPECT_EQ(platform.calls().size(), before);
        EXPECT_TRUE(otherPlatform.calls().empty());
        EXPECT_EQ(popupState().hRootMenu, stateBefore.hRootMenu);
        EXPECT_EQ(popupState().lPrevWndProc, stateBefore.lPrevWndProc);
        EXPECT_EQ(platform.procedureOf(kOwner), kHook);
        // The open pop-up still answers its owner-draw requests.
        MeasureItemRecord measure{1, 0, 1, 0, 0, 0};
        platform.deliver(kOwner, win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure));
        EXPECT_NE(measure.itemWidth, 0u);
        return 1;
    };
    EXPECT_EQ(component->PopUp(), u"open");
    EXPECT_EQ(platform.procedureOf(kOwner), kOriginal);
    EXPECT_TRUE(platform.messageBoxes().empty());
    // Once the pop-up is closed, the next one is served again.
    otherPlatform.onTrack = [](Handle, Handle) { return 1; };
    EXPECT_EQ(other->PopUp(), u"x");
}

TEST_F(PopUpTest, ComponentReleasedByTheHostWhileItsMenuIsOpen) {
    addItem(*items, u"open", u"Open");
    items = nullptr;
    struct Case {
        const char* what;
        bool failsAfterwards;
        std::u16string key;
    };
    const Case cases[] = {{"then the user chooses", false, u"open"}, {"then the pop-up fails", true, u""}};
    for (const Case& c : cases) {
        Ref<NuvraPopUpMenu> held = makeRef<NuvraPopUpMenu>(platform);
        addItem(*held->MenuItems(), u"open", u"Open");
        NuvraPopUpMenu* raw = held.get();
        platform.onTrack = [&](Handle, Handle owner) -> std::int32_t {
            held = nullptr;  // the host drops its last reference from a message handler
            MeasureItemRecord measure{1, 0, 1, 0, 0, 0};
            platform.deliver(owner, win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure));
            EXPECT_NE(measure.itemWidth, 0u) << c.what;
            if (c.failsAfterwards) throw simulatedFailure();
            return 1;
        };
        EXPECT_EQ(raw->PopUp(), c.key) << c.what;
        EXPECT_EQ(platform.messageBoxes().size(), c.failsAfterwards ? 1u : 0u) << c.what;
        EXPECT_TRUE(platform.liveMenus().empty()) << c.what;
    }
}

}  // namespace
}  // namespace popupmenu::testing
