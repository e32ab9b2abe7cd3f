// Real pop-ups on the real platform under Wine: a second thread chooses with the keyboard, and
// each test checks the key that comes back and that the owner window and the menus are left as
// they were before the call. Every pop-up runs under a MenuDriver, whose guard closes a menu that
// stays open, so a fault fails the test instead of hanging it.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "engine/NuvraPopUpMenu.h"
#include "engine/PopupState.h"
#include "platform/win32/Win32Platform.h"
#include "tests/support/win32/DesktopWindows.h"
#include "tests/win32/engine/MenuDriver.h"

namespace popupmenu::testing {
namespace {

// What the host window's own procedure saw while it was hooked.
struct HostLog {
    std::atomic<int> measureRequests{0};
    std::atomic<int> answeredMeasures{0};  // reached the host with a width already set
    std::atomic<int> drawRequests{0};
};
HostLog g_hostLog;

LRESULT CALLBACK hostProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MEASUREITEM) {
        ++g_hostLog.measureRequests;
        if (reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->itemWidth > 0) ++g_hostLog.answeredMeasures;
    } else if (msg == WM_DRAWITEM) {
        ++g_hostLog.drawRequests;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The host: a window of this thread whose own procedure logs what reaches it.
class Host : public HostWindow {
public:
    Host() : HostWindow(L"EngineTestHost", hostProcedure) {}
    Handle handle() const { return Win32Platform::portable(get()); }
};

// Open, a submenu Recent holding First and Second, a separator, and Quit.
void fillMenu(MenuItems& items) {
    const auto add = [&](const char16_t* key, const char16_t* text, const char16_t* parent = nullptr) {
        ASSERT_TRUE(items.Add(Value::string(key), text, parent ? Value::string(parent) : Value::missing()));
    };
    add(u"open", u"&Open");
    add(u"recent", u"Recent");
    add(u"first", u"First file", u"recent");
    add(u"second", u"Second file", u"recent");
    add(u"sep", u"-");
    add(u"quit", u"Quit");
}

// Items with access letters: two share S, a disabled and a hidden one have letters of their own,
// two letters are outside ASCII, and More opens a submenu holding Recent files and Older.
void fillLetterMenu(MenuItems& items) {
    const auto add = [&](const char16_t* key, const char16_t* text, const char16_t* parent = nullptr) {
        Ref<MenuItem> item = items.Add(Value::string(key), text, parent ? Value::string(parent) : Value::missing());
        EXPECT_TRUE(item);
        return item;
    };
    add(u"open", u"&Open");
    add(u"save", u"&Save");
    add(u"starred", u"&Starred");
    if (Ref<MenuItem> print = add(u"print", u"&Print")) print->setEnabled(MenuItem::False);
    if (Ref<MenuItem> hidden = add(u"hidden", u"&Hidden")) hidden->setVisible(MenuItem::False);
    add(u"anger", u"&\u00C4rger");
    add(u"beetle", u"&\u0416\u0443\u043A");
    add(u"more", u"&More");
    add(u"recent", u"&Recent files", u"more");
    add(u"older", u"&Older", u"more");
    add(u"exit", u"E&xit");
}

struct Choice {
    const char* what;
    std::vector<MenuStep> steps;
    std::u16string key;
};

// Down selects the first item, and skips the separator; Right opens a submenu on its first item.
const Choice kChoices[] = {
    {"the first item", {key(VK_DOWN), key(VK_RETURN)}, u"open"},
    {"the last item, past the separator", {key(VK_DOWN), key(VK_DOWN), key(VK_DOWN), key(VK_RETURN)}, u"quit"},
    {"an item in a submenu",
     {key(VK_DOWN), key(VK_DOWN), key(VK_RIGHT), waitForMenus(2), key(VK_DOWN), key(VK_RETURN)},
     u"second"},
    {"nothing: Escape", {key(VK_ESCAPE)}, u""},
};

struct PopUpOutcome {
    std::u16string key;
    bool driverCompleted = false;
    bool watchdogFired = false;
    PopupState state;               // the thread's record right after the call
    Handle recentSubmenu = 0;       // the ItemID of the submenu item after the call
};

// Creates a component on the calling thread, fills it with `fill` and pops it up under a driver
// performing `steps`.
PopUpOutcome popUpOnThisThread(const std::vector<MenuStep>& steps, void (*fill)(MenuItems&) = fillMenu) {
    Win32Platform platform;
    Ref<NuvraPopUpMenu> component = makeRef<NuvraPopUpMenu>(platform);
    Ref<MenuItems> items = component->MenuItems();
    fill(*items);

    PopUpOutcome outcome;
    {
        MenuDriver driver(steps);
        outcome.key = component->PopUp();
        driver.finished();
        outcome.driverCompleted = driver.completed();
        outcome.watchdogFired = driver.watchdogFired();
    }
    const PopupState& state = popupState();
    outcome.state.hRootMenu = state.hRootMenu;
    outcome.state.hOwnerWnd = state.hOwnerWnd;
    outcome.state.lPrevWndProc = state.lPrevWndProc;
    outcome.recentSubmenu = items->itemAt(2)->ItemID();
    return outcome;
}

void expectMenusDestroyed(const PopUpOutcome& outcome, const char* what) {
    EXPECT_NE(outcome.state.hRootMenu, 0) << what;
    EXPECT_FALSE(IsMenu(Win32Platform::native<HMENU>(outcome.state.hRootMenu))) << what;
    EXPECT_FALSE(IsMenu(Win32Platform::native<HMENU>(outcome.recentSubmenu))) << what;
}

class RealPopUp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(GetEnvironmentVariableW(L"DISPLAY", nullptr, 0), 0u)
            << "these tests open real menus: run them with DISPLAY naming an X server";
    }
};

TEST_F(RealPopUp, HostWindowInTheForegroundGetsTheChosenKey) {
    Host host;
    ASSERT_EQ(GetForegroundWindow(), host.get());
    const LONG_PTR hostProcedureValue = GetWindowLongPtrW(host.get(), GWLP_WNDPROC);

    for (const Choice& choice : kChoices) {
        host.bringToForeground();
        g_hostLog.measureRequests = g_hostLog.answeredMeasures = g_hostLog.drawRequests = 0;
        const PopUpOutcome outcome = popUpOnThisThread(choice.steps);

        EXPECT_FALSE(outcome.watchdogFired) << choice.what;
        EXPECT_TRUE(outcome.driverCompleted) << choice.what;
        EXPECT_EQ(outcome.key, choice.key) << choice.what;
        // The host's own window owned the menu and has its own procedure back.
        EXPECT_EQ(outcome.state.hOwnerWnd, host.handle()) << choice.what;
        EXPECT_EQ(outcome.state.lPrevWndProc, hostProcedureValue) << choice.what;
        EXPECT_EQ(GetWindowLongPtrW(host.get(), GWLP_WNDPROC), hostProcedureValue) << choice.what;
        expectMenusDestroyed(outcome, choice.what);
        // Every owner-draw request went on to the host's procedure, already answered.
        EXPECT_GT(g_hostLog.measureRequests.load(), 0) << choice.what;
        EXPECT_EQ(g_hostLog.answeredMeasures.load(), g_hostLog.measureRequests.load()) << choice.what;
        EXPECT_GT(g_hostLog.drawRequests.load(), 0) << choice.what;
    }
}

TEST_F(RealPopUp, HostWithoutAWindowGetsTheChosenKeyThroughAHiddenOwner) {
    // No window of this process exists, as in a console script host.
    for (const Choice& choice : kChoices) {
        const HWND foreground = GetForegroundWindow();
        ASSERT_TRUE(foreground == nullptr || GetWindowThreadProcessId(foreground, nullptr) != GetCurrentThreadId());
        const PopUpOutcome outcome = popUpOnThisThread(choice.steps);

        EXPECT_FALSE(outcome.watchdogFired) << choice.what;
        EXPECT_TRUE(outcome.driverCompleted) << choice.what;
        EXPECT_EQ(outcome.key, choice.key) << choice.what;
        // The owner was a window of the library's own, gone before PopUp returned.
        EXPECT_NE(outcome.state.hOwnerWnd, 0) << choice.what;
        EXPECT_NE(outcome.state.hOwnerWnd, Win32Platform::portable(foreground)) << choice.what;
        EXPECT_FALSE(IsWindow(Win32Platform::native<HWND>(outcome.state.hOwnerWnd))) << choice.what;
        expectMenusDestroyed(outcome, choice.what);
    }
}

TEST_F(RealPopUp, ThreadWhoseForegroundWindowBelongsToAnotherThreadUsesAHiddenOwner) {
    Host host;  // of this thread; the pop-up runs on another one
    ASSERT_EQ(GetForegroundWindow(), host.get());
    const LONG_PTR hostProcedureValue = GetWindowLongPtrW(host.get(), GWLP_WNDPROC);

    for (const Choice& choice : kChoices) {
        host.bringToForeground();
        PopUpOutcome outcome;
        HANDLE returned = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::thread popUpThread([&] {
            outcome = popUpOnThisThread(choice.steps);
            SetEvent(returned);
        });
        // Keep this thread's window answering while the other thread's menu is open.
        while (MsgWaitForMultipleObjects(1, &returned, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
            pumpPendingMessages();
        popUpThread.join();
        CloseHandle(returned);

        EXPECT_FALSE(outcome.watchdogFired) << choice.what;
        EXPECT_TRUE(outcome.driverCompleted) << choice.what;
        EXPECT_EQ(outcome.key, choice.key) << choice.what;
        EXPECT_NE(outcome.state.hOwnerWnd, host.handle()) << choice.what;
        EXPECT_FALSE(IsWindow(Win32Platform::native<HWND>(outcome.state.hOwnerWnd))) << choice.what;
        // The other thread's window was never hooked.
        EXPECT_EQ(GetWindowLongPtrW(host.get(), GWLP_WNDPROC), hostProcedureValue) << choice.what;
        expectMenusDestroyed(outcome, choice.what);
    }
}

TEST_F(RealPopUp, AccessLettersChooseOpenSubmenusAndCycleThroughItemsSharingALetter) {
    // Characters are posted to the menu as WM_CHAR: Wine's menu loop matches none of them against
    // owner-drawn items and asks the owner with WM_MENUCHAR. It ignores an MNC_SELECT answer, so
    // the cycling below also shows the highlight moved by the library itself.
    const Choice choices[] = {
        {"a letter chooses, in either case", {character(u'O')}, u"open"},
        {"a letter opens a submenu, the next chooses in it",
         {character(u'm'), waitForMenus(2), character(u'o')}, u"older"},
        {"two items share a letter: the second", {character(u's'), character(u's'), key(VK_RETURN)}, u"starred"},
        {"two items share a letter: round to the first again",
         {character(u's'), character(u's'), character(u's'), key(VK_RETURN)}, u"save"},
        {"a letter outside ASCII", {character(u'\u00E4')}, u"anger"},
        {"a Cyrillic letter", {character(u'\u0436')}, u"beetle"},
        // Down moves on from the highlighted item (the first with none): the menu stayed open, and
        // a disabled item's letter put the highlight on it.
        {"no match leaves the menu open", {character(u'q'), key(VK_DOWN), key(VK_RETURN)}, u"open"},
        {"no match, then Escape", {character(u'q'), key(VK_ESCAPE)}, u""},
        {"a disabled item is highlighted, not chosen", {character(u'p'), key(VK_DOWN), key(VK_RETURN)}, u"anger"},
        {"a hidden item's letter matches nothing", {character(u'h'), key(VK_DOWN), key(VK_RETURN)}, u"open"},
    };
    const auto expectChoices = [&](const char* owner, const std::function<void()>& beforePopUp) {
        for (const Choice& choice : choices) {
            beforePopUp();
            const PopUpOutcome outcome = popUpOnThisThread(choice.steps, fillLetterMenu);
            EXPECT_FALSE(outcome.watchdogFired) << owner << ": " << choice.what;
            EXPECT_TRUE(outcome.driverCompleted) << owner << ": " << choice.what;
            EXPECT_EQ(outcome.key, choice.key) << owner << ": " << choice.what;
        }
    };
    {
        // Its own procedure ends in DefWindowProcW, which answers MNC_IGNORE (measured under Wine).
        Host host;
        expectChoices("a host window", [&] { host.bringToForeground(); });
    }
    expectChoices("the library's hidden owner", [] {});
}

}  // namespace
}  // namespace popupmenu::testing
