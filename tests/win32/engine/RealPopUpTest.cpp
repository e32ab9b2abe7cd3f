// Real pop-ups on the real platform under Wine: a second thread chooses with the keyboard, and
// each test checks the key that comes back and that the owner window and the menus are left as
// they were before the call. Every pop-up runs under a MenuDriver, whose guard closes a menu that
// stays open, so a fault fails the test instead of hanging it.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <cwchar>
#include <iterator>
#include <functional>
#include <string>
#include <thread>

#include "engine/NuvraPopUpMenu.h"
#include "engine/PopupState.h"
#include "platform/win32/Win32Platform.h"
#include "tests/support/win32/DesktopWindows.h"
#include "tests/win32/engine/MenuDriver.h"
#include "tests/win32/engine/MenuReader.h"

namespace popupmenu::testing {
namespace {

// What the host window's own procedure saw while it was hooked.
struct HostLog {
    std::atomic<int> measureRequests{0};
    std::atomic<int> answeredMeasures{0};  // reached the host with a width already set
    std::atomic<int> drawRequests{0};
    std::atomic<int> selectedDraws{0};     // of them, for an item drawn as selected
};
HostLog g_hostLog;

LRESULT CALLBACK hostProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MEASUREITEM) {
        ++g_hostLog.measureRequests;
        if (reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->itemWidth > 0) ++g_hostLog.answeredMeasures;
    } else if (msg == WM_DRAWITEM) {
        ++g_hostLog.drawRequests;
        if (reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->itemState & ODS_SELECTED) ++g_hostLog.selectedDraws;
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

// The real platform, with the menus opening at a fixed point while the pointer rests far from
// every menu. The driver posts its keys, and posted messages go before input in the menu loop: a
// pointer message for a menu window that appeared under the pointer could be handled only after
// the keys before it, and one handled after a submenu opened clears the submenu's selection (a
// pointer outside every item selects nothing), so the next Down picked the first item instead of
// the second (seen once in a full run, and every time with a pointer message made on purpose
// right after the submenu opened). No menu ever appears under the parked pointer, so the menu
// loop gets no pointer message at all.
class MenusAwayFromThePointer : public Win32Platform {
public:
    static constexpr Point kMenuPoint{320, 260};
    static constexpr Point kParkedPointer{1010, 750};  // right of and below every menu and window of the tests

    bool getCursorPos(Point& point) override {
        point = kMenuPoint;
        return true;
    }
};

// Creates a component on the calling thread, fills it with `fill` and pops it up at
// MenusAwayFromThePointer::kMenuPoint under a driver performing `steps`.
PopUpOutcome popUpOnThisThread(const std::vector<MenuStep>& steps, void (*fill)(MenuItems&) = fillMenu,
                               MenusAwayFromThePointer* platformToUse = nullptr) {
    MenusAwayFromThePointer realPlatform;
    Platform& platform = platformToUse != nullptr ? *platformToUse : realPlatform;
    SetCursorPos(MenusAwayFromThePointer::kParkedPointer.x, MenusAwayFromThePointer::kParkedPointer.y);
    pumpPendingMessages();
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

// Labels a screen reader must get right: access letters, a doubled ampersand, text outside ASCII
// (a Latin-1 letter, a dash of the General Punctuation block), and submenus two levels deep.
void fillAccessibleMenu(MenuItems& items) {
    const auto add = [&](const char16_t* key, const char16_t* text, const char16_t* parent = nullptr) {
        ASSERT_TRUE(items.Add(Value::string(key), text, parent ? Value::string(parent) : Value::missing()));
    };
    add(u"open", u"&Open");
    add(u"sep", u"-");
    add(u"tools", u"Tools && Options");
    add(u"city", u"Citt\u00E0 \u2013 \u00DCn\u00EFc\u00F8d\u00E9");
    add(u"more", u"&More");
    add(u"recent", u"&Recent files", u"more");
    add(u"older", u"Older", u"more");
    add(u"archive", u"Archive &2019", u"older");
}

// While the menu is open, an accessibility client of the process reads every item of the menu and
// of its submenus, which it has not opened: each owner-drawn item's data starts with the header
// naming its label as a native item would carry it; the separator has no data.
TEST_F(RealPopUp, AnAccessibilityClientReadsEveryLabelWhileTheMenuIsOpen) {
    struct Expected {
        int level;
        const wchar_t* text;  // nullptr: the separator
    };
    const Expected expected[] = {
        {0, L"&Open"}, {0, nullptr},          {0, L"Tools && Options"}, {0, L"Citt\u00E0 \u2013 \u00DCn\u00EFc\u00F8d\u00E9"},
        {0, L"&More"}, {1, L"&Recent files"}, {1, L"Older"},            {2, L"Archive &2019"},
    };
    const auto expectEveryLabel = [&](const char* owner, const std::function<void()>& beforePopUp) {
        beforePopUp();
        std::vector<ReadMenuItem> read;
        bool menuFound = false;
        const std::vector<MenuStep> steps{whileOpen([&] {
                                              const std::vector<HWND> menus = openMenuWindows();
                                              if (menus.empty()) return;
                                              const HMENU menu = menuOfWindow(menus.back());
                                              menuFound = IsMenu(menu) != FALSE;
                                              if (menuFound) readMenuTree(menu, read);
                                          }),
                                          key(VK_ESCAPE)};
        const PopUpOutcome outcome = popUpOnThisThread(steps, fillAccessibleMenu);
        EXPECT_FALSE(outcome.watchdogFired) << owner;
        EXPECT_EQ(outcome.key, u"") << owner;
        ASSERT_TRUE(menuFound) << owner;
        ASSERT_EQ(read.size(), std::size(expected)) << owner;
        for (std::size_t i = 0; i < read.size(); ++i) {
            const Expected& e = expected[i];
            const ReadMenuItem& r = read[i];
            SCOPED_TRACE(::testing::Message() << owner << ", item " << i);
            EXPECT_EQ(r.level, e.level);
            if (e.text == nullptr) {
                EXPECT_TRUE(r.separator);
                EXPECT_EQ(r.itemData, 0u);
                continue;
            }
            EXPECT_TRUE(r.hasHeader);
            EXPECT_EQ(r.length, std::wcslen(e.text));
            EXPECT_EQ(r.text, e.text);
            EXPECT_TRUE(r.terminated);
        }
    };
    {
        Host host;
        expectEveryLabel("a host window", [&] { host.bringToForeground(); });
    }
    expectEveryLabel("the library's hidden owner", [] {});
}

// The real platform, except that the theme is said to be a high-contrast one: Wine cannot switch
// high contrast on (SPI_SETHIGHCONTRAST fails, measured), while SetSysColors changes the colours.
class HighContrastPlatform final : public MenusAwayFromThePointer {
public:
    bool highContrastOn() override { return true; }
};

// Sets the system colours of a high-contrast scheme and puts the previous ones back.
class HighContrastColours {
public:
    HighContrastColours() {
        for (std::size_t i = 0; i < std::size(kIndexes); ++i) previous_[i] = GetSysColor(kIndexes[i]);
        SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, kScheme);
    }
    HighContrastColours(const HighContrastColours&) = delete;
    HighContrastColours& operator=(const HighContrastColours&) = delete;
    ~HighContrastColours() { SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, previous_); }

private:
    static constexpr INT kIndexes[] = {COLOR_MENU,      COLOR_MENUTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                                       COLOR_GRAYTEXT,  COLOR_3DFACE,   COLOR_3DSHADOW,  COLOR_3DHILIGHT,
                                       COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_MENUHILIGHT, COLOR_MENUBAR};
    // Black menu, white text, a cyan highlight with white text, green grey text. A gradient from
    // the highlight to the menu colour would show colours that lie between neither pair.
    static constexpr COLORREF kScheme[] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(0, 255, 255), RGB(255, 255, 255),
                                           RGB(0, 255, 0),   RGB(0, 0, 0),       RGB(128, 128, 128), RGB(255, 255, 255),
                                           RGB(255, 255, 255), RGB(192, 192, 192), RGB(0, 255, 255), RGB(0, 0, 0)};
    COLORREF previous_[std::size(kIndexes)] = {};
};

// A normal, a checked, a disabled and a disabled checked item, a separator and a submenu item.
void fillHighContrastMenu(MenuItems& items) {
    const auto add = [&](const char16_t* key, const char16_t* text, const char16_t* parent = nullptr) {
        Ref<MenuItem> item = items.Add(Value::string(key), text, parent ? Value::string(parent) : Value::missing());
        EXPECT_TRUE(item);
        return item;
    };
    add(u"open", u"&Open");
    if (Ref<MenuItem> bold = add(u"bold", u"&Bold")) bold->setChecked(MenuItem::True);
    if (Ref<MenuItem> print = add(u"print", u"&Print")) print->setEnabled(MenuItem::False);
    if (Ref<MenuItem> starred = add(u"starred", u"&Starred")) {
        starred->setEnabled(MenuItem::False);
        starred->setChecked(MenuItem::True);
    }
    add(u"sep", u"-");
    add(u"more", u"&More");
    add(u"recent", u"&Recent files", u"more");
}

// What the menu window showed: its pixels as colour values, and its items' rectangles in them.
struct MenuShot {
    LONG width = 0, height = 0;
    std::vector<COLORREF> pixels;
    std::vector<RECT> items;
    COLORREF at(LONG x, LONG y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Copies the open menu window's pixels, frame included, from its own device context.
MenuShot shootMenuWindow(HWND menuWindow) {
    MenuShot shot;
    RECT window{};
    GetWindowRect(menuWindow, &window);
    shot.width = window.right - window.left;
    shot.height = window.bottom - window.top;
    const HMENU menu = menuOfWindow(menuWindow);
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
        RECT item{};
        GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &item);
        OffsetRect(&item, -window.left, -window.top);
        shot.items.push_back(item);
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC windowDC = GetWindowDC(menuWindow);
    const HDC memoryDC = CreateCompatibleDC(windowDC);
    const HBITMAP bitmap = CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memoryDC, bitmap);
    BitBlt(memoryDC, 0, 0, shot.width, shot.height, windowDC, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (LONG i = 0; i < shot.width * shot.height; ++i) {
        const std::uint32_t p = pixels[i];
        shot.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    SelectObject(memoryDC, previous);
    DeleteObject(bitmap);
    DeleteDC(memoryDC);
    ReleaseDC(menuWindow, windowDC);
    return shot;
}

// Under a high-contrast scheme, a real menu with its first item selected shows the system's colours
// only, and the selected row is the highlight colour and its text colour, with no gradient.
TEST_F(RealPopUp, HighContrastShowsSystemColoursAndAFlatHighlight) {
    Host host;
    HighContrastColours colours;
    HighContrastPlatform platform;
    MenuShot shot;
    const std::vector<MenuStep> steps{key(VK_DOWN), whileOpen([&] {
                                          // The host's procedure sees a draw request after the library painted it.
                                          const ULONGLONG deadline = GetTickCount64() + 10000;
                                          while (g_hostLog.selectedDraws.load() == 0 && GetTickCount64() < deadline)
                                              Sleep(20);
                                          const std::vector<HWND> menus = openMenuWindows();
                                          if (!menus.empty()) shot = shootMenuWindow(menus.back());
                                      }),
                                      key(VK_ESCAPE)};
    host.bringToForeground();
    g_hostLog.selectedDraws = 0;
    const PopUpOutcome outcome = popUpOnThisThread(steps, fillHighContrastMenu, &platform);
    EXPECT_FALSE(outcome.watchdogFired);
    ASSERT_GT(g_hostLog.selectedDraws.load(), 0) << "no item was drawn as selected";
    ASSERT_EQ(shot.items.size(), 6u);
    ASSERT_FALSE(shot.pixels.empty());

    // Each row shows its background, its text colour and, where the text is smoothed, colours in
    // between; outside the rows (frame, margins, the separator) only system colours show.
    // (The separator is the system's own drawing, in its 3-D colours.)
    struct Row {
        const char* what;
        int background, text;
        bool glyph;  // a check glyph in the text colour at the picture position
    };
    const Row rows[] = {
        {"selected", COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, false}, {"checked", COLOR_MENU, COLOR_MENUTEXT, true},
        {"disabled", COLOR_MENU, COLOR_GRAYTEXT, false},           {"disabled, checked", COLOR_MENU, COLOR_GRAYTEXT, true},
        {"separator", -1, -1, false},                              {"submenu", COLOR_MENU, COLOR_MENUTEXT, false},
    };
    std::set<COLORREF> system;
    for (int index = 0; index <= COLOR_MENUBAR; ++index) system.insert(GetSysColor(index));
    const auto between = [](COLORREF c, COLORREF a, COLORREF b) {
        const int ca[] = {GetRValue(c), GetGValue(c), GetBValue(c)}, aa[] = {GetRValue(a), GetGValue(a), GetBValue(a)},
                  ba[] = {GetRValue(b), GetGValue(b), GetBValue(b)};
        int widest = 0;
        for (int i = 1; i < 3; ++i)
            if (std::abs(ba[i] - aa[i]) > std::abs(ba[widest] - aa[widest])) widest = i;
        if (ba[widest] == aa[widest]) return c == a;
        const double t = double(ca[widest] - aa[widest]) / (ba[widest] - aa[widest]);
        if (t < 0 || t > 1) return false;
        for (int i = 0; i < 3; ++i)
            if (std::abs(aa[i] + t * (ba[i] - aa[i]) - ca[i]) > 3) return false;
        return true;
    };
    std::map<std::string, int> strays;  // what showed where it must not, and on how many pixels
    for (LONG y = 0; y < shot.height; ++y) {
        for (LONG x = 0; x < shot.width; ++x) {
            const COLORREF c = shot.at(x, y);
            const POINT point{x, y};
            std::size_t inRow = std::size(rows);
            for (std::size_t i = 0; i < std::size(rows); ++i)
                if (PtInRect(&shot.items[i], point)) inRow = i;
            char colour[32];
            std::snprintf(colour, sizeof colour, " 0x%06lx", static_cast<unsigned long>(c));
            if (inRow == std::size(rows) || rows[inRow].background < 0) {
                if (!system.count(c)) ++strays[std::string("outside the rows:") + colour];
            } else if (!between(c, GetSysColor(rows[inRow].background), GetSysColor(rows[inRow].text))) {
                ++strays[std::string(rows[inRow].what) + " row:" + colour];
            }
        }
    }
    for (const auto& [what, pixels] : strays) ADD_FAILURE() << what << " on " << pixels << " pixels";

    // The selected row is the highlight colour wherever its label is not: all of its picture column
    // and of its right end, which a gradient would darken towards the menu colour.
    const RECT& selected = shot.items[0];
    int flat = 0, other = 0;
    for (LONG y = selected.top; y < selected.bottom; ++y)
        for (LONG x : {selected.left, selected.left + 10, selected.left + 20, selected.right - 10, selected.right - 1})
            ++(shot.at(x, y) == GetSysColor(COLOR_HIGHLIGHT) ? flat : other);
    EXPECT_EQ(other, 0) << "of " << flat + other << " pixels of the selected row's ends";

    // The check glyph shows in the text colour of its row.
    for (const Row& row : rows) {
        if (!row.glyph) continue;
        const RECT& rc = shot.items[&row - rows];
        int mark = 0;
        for (LONG y = rc.top + 2; y < rc.top + 18; ++y)
            for (LONG x = rc.left + 2; x < rc.left + 18; ++x) mark += shot.at(x, y) == GetSysColor(row.text);
        EXPECT_EQ(mark, 56) << row.what << ": pixels of the check's mark, which has 56";
    }
}

}  // namespace
}  // namespace popupmenu::testing
