// Access letters through the window hook against the recording platform: the answer to
// WM_MENUCHAR for the menus of the open pop-up, after the owner's own procedure.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "engine/MenuHook.h"
#include "engine/NuvraPopUpMenu.h"
#include "engine/PopupState.h"
#include "tests/engine/EngineTestSupport.h"

namespace popupmenu::testing {
namespace {

constexpr Handle kOwner = RecordingPlatform::kForegroundWindow;
constexpr LResult kOwnersIgnore = 0x5A5A;  // the recording owner's answer: MNC_IGNORE, in the high word
constexpr WParam MF_POPUP_FLAG = 0x10;
constexpr std::uint32_t MNC_CLOSE = 1;

WParam typedIn(char16_t typed) { return (MF_POPUP_FLAG << 16) | typed; }
LResult answer(std::uint32_t code, int position) { return static_cast<LResult>((code << 16) | position); }

// A pop-up whose built menu differs from the collection: a hidden item first and a submenu, so an
// item's position in its native menu is never its collection position.
//
//   collection                      root menu as built             submenu of "more"
//   1 hidden  "&Hidden" (hidden)    -                              -
//   2 open    "&Open"               0                              -
//   3 sep     "-"                   1                              -
//   4 save    "&Save"               2                              -
//   5 tools   "Tools && Options"    3                              -
//   6 starred "&Starred"            4                              -
//   7 saveas  "Save &"              5                              -
//   8 anger   "&Ärger"              6                              -
//   9 beetle  "&Жук"                7                              -
//  10 print   "&Print" (disabled)   8                              -
//  11 delete  "&Delete" (disabled)  9                              -
//  12 draft   "&Draft"              10                             -
//  13 more    "&More"               11 (opens the submenu)         -
//  14 recent  "&Recent files"       -                              0
//  15 older   "&Older"              -                              1
//  16 exit    "E&xit"               12                             -
struct AccessLetterFixture {
    ThrowingPlatform platform;
    Ref<NuvraPopUpMenu> component = makeRef<NuvraPopUpMenu>(static_cast<Platform&>(platform));

    AccessLetterFixture() {
        MenuItems& items = *component->MenuItems();
        addItem(items, u"hidden", u"&Hidden")->setVisible(MenuItem::False);
        addItem(items, u"open", u"&Open");
        addItem(items, u"sep", u"-");
        addItem(items, u"save", u"&Save");
        addItem(items, u"tools", u"Tools && Options");
        addItem(items, u"starred", u"&Starred");
        addItem(items, u"saveas", u"Save &");
        addItem(items, u"anger", u"&\u00C4rger");
        addItem(items, u"beetle", u"&\u0416\u0443\u043A");
        addItem(items, u"print", u"&Print")->setEnabled(MenuItem::False);
        addItem(items, u"delete", u"&Delete")->setEnabled(MenuItem::False);
        addItem(items, u"draft", u"&Draft");
        addItem(items, u"more", u"&More");
        addItem(items, u"recent", u"&Recent files", u"more");
        addItem(items, u"older", u"&Older", u"more");
        addItem(items, u"exit", u"E&xit");
    }

    // Runs `body` inside the modal loop of a pop-up that returns nothing, with the root menu and
    // the submenu of "more".
    void whileOpen(const std::function<void(Handle root, Handle more)>& body) {
        bool ran = false;
        platform.onTrack = [&](Handle root, Handle) {
            const Handle more = component->MenuItems()->itemAt(13)->ItemID();
            platform.clearCalls();
            body(root, more);
            ran = true;
            return 0;
        };
        component->PopUp();
        EXPECT_TRUE(ran);
    }
};

TEST(AccessLetters, AnswerForTheMenuThatAsks) {
    enum MenuAsking { Root, More };
    struct Case {
        const char* what;
        MenuAsking menu;
        int highlightedBefore;  // -1: none
        char16_t typed;
        std::optional<LResult> expected;  // none: the owner's own answer stands
    };
    const Case cases[] = {
        {"one match, letter case ignored", Root, -1, u'o', answer(win::MNC_EXECUTE, 0)},
        {"one match inside a label", Root, -1, u'X', answer(win::MNC_EXECUTE, 12)},
        {"a match that opens a submenu", Root, -1, u'm', answer(win::MNC_EXECUTE, 11)},
        {"a hidden item is not in the menu", Root, -1, u'h', std::nullopt},
        {"no match", Root, -1, u'q', std::nullopt},
        {"a doubled ampersand marks nothing", Root, -1, u'&', std::nullopt},
        {"Latin-1 by its lower case", Root, -1, u'\u00E4', answer(win::MNC_EXECUTE, 6)},
        {"Latin-1 by its upper case", Root, -1, u'\u00C4', answer(win::MNC_EXECUTE, 6)},
        {"Cyrillic", Root, -1, u'\u0436', answer(win::MNC_EXECUTE, 7)},
        // "&Save", "&Starred"; "Save &" has no letter.
        {"duplicates: none highlighted, the first", Root, -1, u's', answer(win::MNC_SELECT, 2)},
        {"duplicates: the next after the highlighted one", Root, 2, u'S', answer(win::MNC_SELECT, 4)},
        {"duplicates: after the last, the first again", Root, 4, u's', answer(win::MNC_SELECT, 2)},
        {"duplicates: the next after a highlighted item that does not match", Root, 3, u's',
         answer(win::MNC_SELECT, 4)},
        {"duplicates: the highlight past every match", Root, 12, u's', answer(win::MNC_SELECT, 2)},
        // A disabled "&Delete" before an enabled "&Draft": both are highlighted in turn.
        {"disabled and enabled: the disabled one first", Root, -1, u'd', answer(win::MNC_SELECT, 9)},
        {"disabled and enabled: then the enabled one", Root, 9, u'd', answer(win::MNC_SELECT, 10)},
        {"disabled and enabled: then round again", Root, 10, u'd', answer(win::MNC_SELECT, 9)},
        {"the submenu's own items, at their positions there", More, -1, u'o', answer(win::MNC_EXECUTE, 1)},
        {"the first item of the submenu", More, -1, u'R', answer(win::MNC_EXECUTE, 0)},
        {"an item of the root is not in the submenu", More, -1, u'x', std::nullopt},
    };
    AccessLetterFixture f;
    f.whileOpen([&](Handle root, Handle more) {
        for (const Case& c : cases) {
            const Handle menu = c.menu == Root ? root : more;
            f.platform.setHighlighted(root, -1);
            f.platform.setHighlighted(more, -1);
            f.platform.setHighlighted(menu, c.highlightedBefore);
            f.platform.clearCalls();

            const LResult result = f.platform.deliver(kOwner, win::WM_MENUCHAR, typedIn(c.typed), menu);

            EXPECT_EQ(result, c.expected.value_or(kOwnersIgnore)) << c.what;
            const bool selects = c.expected && (*c.expected >> 16) == win::MNC_SELECT;
            const int position = c.expected ? static_cast<int>(*c.expected & 0xFFFF) : -1;
            // A selection moves the highlight itself, for a menu loop that ignores MNC_SELECT.
            const Calls hilited = selects ? Calls{{"HiliteMenuItem", {kOwner, menu, position}}} : Calls{};
            EXPECT_EQ(f.platform.callsNamed({"HiliteMenuItem"}), hilited) << c.what;
            EXPECT_EQ(f.platform.highlighted(menu), selects ? position : c.highlightedBefore) << c.what;
        }
    });
}

TEST(AccessLetters, DisabledItemAloneIsHighlightedNeverChosenAsWineNativeMenusHighlightIt) {
    // Measured under Wine: the letter of a disabled text item highlights it (WM_MENUSELECT with
    // MF_HILITE | MF_GRAYED) and chooses nothing. Here it is highlighted, and stays so.
    AccessLetterFixture f;
    f.whileOpen([&](Handle root, Handle) {
        for (int typing = 1; typing <= 2; ++typing) {
            EXPECT_EQ(f.platform.deliver(kOwner, win::WM_MENUCHAR, typedIn(u'p'), root), answer(win::MNC_SELECT, 8))
                << "typed " << typing << " times";
            EXPECT_EQ(f.platform.highlighted(root), 8);
        }
    });
}

TEST(AccessLetters, TheOwnersProcedureSeesTheLetterFirstAndItsAnswerStands) {
    struct Case {
        const char* what;
        LResult ownersAnswer;
        char16_t typed;
        LResult returned;
    };
    const Case cases[] = {
        // A host that handles letters itself keeps control, whatever the library would answer.
        {"the owner executes", answer(win::MNC_EXECUTE, 5), u'o', answer(win::MNC_EXECUTE, 5)},
        {"the owner selects", answer(win::MNC_SELECT, 0), u'x', answer(win::MNC_SELECT, 0)},
        {"the owner closes the menu", answer(MNC_CLOSE, 0), u'o', answer(MNC_CLOSE, 0)},
        {"a high word beyond the answers", static_cast<LResult>(0x7FFF0000), u'o', static_cast<LResult>(0x7FFF0000)},
        // MNC_IGNORE, whatever its low word: the library answers.
        {"the owner ignores it", answer(win::MNC_IGNORE, 0), u'o', answer(win::MNC_EXECUTE, 0)},
        {"the owner ignores it with a low word", answer(win::MNC_IGNORE, 9), u'x', answer(win::MNC_EXECUTE, 12)},
        {"the owner ignores it and nothing matches", answer(win::MNC_IGNORE, 9), u'q', answer(win::MNC_IGNORE, 9)},
    };
    AccessLetterFixture f;
    LResult ownersAnswer = 0;
    f.platform.onCallWindowProcedure = [&](ProcValue, Handle, std::uint32_t, WParam, LParam) { return ownersAnswer; };
    f.whileOpen([&](Handle root, Handle) {
        for (const Case& c : cases) {
            ownersAnswer = c.ownersAnswer;
            f.platform.clearCalls();
            EXPECT_EQ(f.platform.deliver(kOwner, win::WM_MENUCHAR, typedIn(c.typed), root), c.returned) << c.what;
            ASSERT_FALSE(f.platform.calls().empty()) << c.what;
            EXPECT_EQ(f.platform.calls().front(),
                      (Call{"CallWindowProcW", {RecordingPlatform::kOriginalProcedure, kOwner, win::WM_MENUCHAR,
                                                static_cast<long long>(typedIn(c.typed)), root}}))
                << c.what;
            EXPECT_EQ(f.platform.countOf("CallWindowProcW"), 1u) << c.what;
            // An answer that stands is not even looked into.
            const bool libraryAsked = (c.ownersAnswer >> 16) == win::MNC_IGNORE;
            EXPECT_EQ(f.platform.countOf("GetMenuItemCount"), libraryAsked ? 1u : 0u) << c.what;
        }
    });
}

TEST(AccessLetters, OnlyTheMenusOfTheOpenPopUpAreAnswered) {
    AccessLetterFixture f;
    Handle root = 0;
    f.whileOpen([&](Handle rootMenu, Handle) {
        root = rootMenu;
        // Another menu of the owner's (its window menu, a menu of its own) while ours is open.
        const Handle foreignMenu = f.platform.createPopupMenu();
        f.platform.appendMenu(foreignMenu, win::MF_OWNERDRAW | win::MF_BYPOSITION, 2, 2);  // "&Open"'s ItemID
        f.platform.clearCalls();
        EXPECT_EQ(f.platform.deliver(kOwner, win::WM_MENUCHAR, typedIn(u'o'), foreignMenu), kOwnersIgnore);
        EXPECT_EQ(f.platform.deliver(kOwner, win::WM_MENUCHAR, typedIn(u'o'), 0), kOwnersIgnore);
        EXPECT_EQ(f.platform.callsNamed({"GetMenuItemCount", "GetMenuItemInfoW", "HiliteMenuItem"}), Calls{});
    });

    // After the pop-up: a subclass that kept the hook in the owner's chain still reaches the
    // owner's procedure, but no letter is answered, not even for the last pop-up's menu handle.
    f.platform.clearCalls();
    EXPECT_EQ(f.platform.handler()(kOwner, win::WM_MENUCHAR, typedIn(u'o'), root), kOwnersIgnore);
    EXPECT_EQ(f.platform.calls(), (Calls{{"CallWindowProcW",
                                          {RecordingPlatform::kOriginalProcedure, kOwner, win::WM_MENUCHAR,
                                           static_cast<long long>(typedIn(u'o')), root}}}));
}

TEST(AccessLetters, AMenuThatCannotBeReadLeavesTheOwnersAnswer) {
    AccessLetterFixture f;
    f.whileOpen([&](Handle root, Handle) {
        // A failure while the items are read stays inside the hook.
        f.platform.failOnCall("GetMenuItemInfoW", 3);
        EXPECT_EQ(f.platform.deliver(kOwner, win::WM_MENUCHAR, typedIn(u'x'), root), kOwnersIgnore);

        // Items the platform does not report cannot match.
        f.platform.fail("GetMenuItemInfoW");
        EXPECT_EQ(f.platform.deliver(kOwner, win::WM_MENUCHAR, typedIn(u'o'), root), kOwnersIgnore);
        EXPECT_EQ(f.platform.countOf("HiliteMenuItem"), 0u);
    });
    EXPECT_TRUE(f.platform.messageBoxes().empty());
}

}  // namespace
}  // namespace popupmenu::testing
