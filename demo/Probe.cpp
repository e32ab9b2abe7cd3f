#include "Probe.h"

#include <oleacc.h>

#include <cstdio>
#include <string_view>
#include <vector>

#include "Automation.h"
#include "hostsupport/GuiObjects.h"

namespace demo {
namespace {

constexpr UINT_PTR kProbeTimer = 0x5052;  // 'PR'
constexpr UINT kProbeIntervalMs = 20;

bool isMenuWindow(HWND hwnd) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return std::wstring_view(name) == L"#32768";  // the system's pop-up menu class
}

BOOL CALLBACK collectMenuWindow(HWND hwnd, LPARAM list) {
    if (isMenuWindow(hwnd) && IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> openMenuWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), collectMenuWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::wstring_view orEmpty(const wchar_t* text) { return text != nullptr ? text : L""; }

bool isSeparator(const MenuEntry& entry) { return std::wstring_view(entry.text) == L"-"; }

}  // namespace

Probe::Probe(HWND window, WNDPROC ownProcedure, std::span<const MenuEntry> entries, ProbeOptions options)
    : window_(window), ownProcedure_(ownProcedure), entries_(entries), options_(options) {}

void Probe::printSystemColours() const {
    const struct { const char* name; int index; } colours[] = {
        {"menu", COLOR_MENU},           {"menutext", COLOR_MENUTEXT},       {"highlight", COLOR_HIGHLIGHT},
        {"highlighttext", COLOR_HIGHLIGHTTEXT}, {"graytext", COLOR_GRAYTEXT}, {"btnshadow", COLOR_BTNSHADOW},
        {"btnhighlight", COLOR_BTNHIGHLIGHT},
    };
    for (const auto& colour : colours) {
        const COLORREF c = GetSysColor(colour.index);
        std::printf("colour %s %d %d %d\n", colour.name, GetRValue(c), GetGValue(c), GetBValue(c));
    }
}

void Probe::printObjectCounts(const char* label) const {
    const hostsupport::GuiObjects objects = hostsupport::countGuiObjects();
    std::printf("objects %s gdi %ld user %ld by %s\n", label, objects.gdi, objects.user, objects.source);
}

void Probe::printPaintCounts() const {
    std::printf("painted %ld items, %ld of them highlighted\n", totalPainted_, totalHighlighted_);
}

void Probe::printCounterCheck() const {
    const hostsupport::GuiObjects before = hostsupport::countGuiObjects();
    const HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    const HMENU menu = CreatePopupMenu();
    const hostsupport::GuiObjects during = hostsupport::countGuiObjects();
    DestroyMenu(menu);
    DeleteObject(brush);
    std::printf("objects counter-check gdi %+ld user %+ld\n", during.gdi - before.gdi, during.user - before.user);
}

void Probe::beforePopUp() {
    procedurePrinted_ = false;
    itemsPainted_ = 0;
    keysSent_ = 0;
    reportedWindows_.clear();
    parentOfSubmenu_.clear();
    keyOfId_.clear();
    // A command item's identifier is its position in the collection, which only grew.
    for (std::size_t i = 0; i < entries_.size(); ++i) keyOfId_[i + 1] = entries_[i].key;
    if (options_.printProcs) printProcedure("before");
    SetTimer(window_, kProbeTimer, kProbeIntervalMs, nullptr);
}

void Probe::afterPopUp() {
    KillTimer(window_, kProbeTimer);
    if (options_.printProcs) printProcedure("after");
}

void Probe::onTimer() {
    if (options_.printProcs && !procedurePrinted_) {
        printProcedure("during");
        procedurePrinted_ = true;
    }
    const std::vector<HWND> menus = openMenuWindows();
    if (options_.report)
        for (HWND menu : menus) reportMenuWindow(menu);
    if (options_.autoDismiss && itemsPainted_ > 0 && !menus.empty()) {
        // The menu loop takes the Down key from this thread's queue, whichever window it is
        // posted to; one press per tick walks the highlight over the top level.
        int steps = 0;
        for (const MenuEntry& entry : entries_)
            if (entry.parent == nullptr && entry.visible && !isSeparator(entry)) ++steps;
        if (keysSent_ < steps) {
            PostMessageW(menus.front(), WM_KEYDOWN, VK_DOWN, 0);
            ++keysSent_;
        } else {
            EndMenu();
        }
    }
}

void Probe::onDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU) return;
    ++itemsPainted_;
    ++totalPainted_;
    if (item.itemState & ODS_SELECTED) ++totalHighlighted_;
    if (!options_.report) return;
    const RECT& rc = item.rcItem;
    std::printf("drawn %s state 0x%04x rc %ld %ld %ld %ld\n", utf8(keyOfItem(item.itemID)).c_str(), item.itemState,
                rc.left, rc.top, rc.right, rc.bottom);
}

void Probe::printProcedure(const char* when) const {
    const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window_, GWLP_WNDPROC));
    std::printf("proc %s %p %s\n", when, reinterpret_cast<void*>(procedure),
                procedure == ownProcedure_ ? "own" : "replaced");
}

// Prints the menu a pop-up window shows: which item's submenu it is, its window and client origin
// on the screen, and each item's rectangle on the screen.
void Probe::reportMenuWindow(HWND menuWindow) {
    if (reportedWindows_.count(menuWindow) != 0) return;
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    if (menu == nullptr) return;
    std::wstring parent;
    if (const auto found = parentOfSubmenu_.find(menu); found != parentOfSubmenu_.end()) {
        parent = found->second;
    } else if (!reportedWindows_.empty()) {
        return;  // a submenu whose item has not been reported yet
    }
    // The first menu window is the pop-up's own menu: what an accessibility client reads of it and
    // of every submenu, opened or not, is reported at once.
    if (reportedWindows_.empty()) reportAccessibleItems(menu, 0);
    reportedWindows_.insert(menuWindow);

    std::vector<const MenuEntry*> shown;
    for (const MenuEntry& entry : entries_)
        if (entry.visible && orEmpty(entry.parent) == parent) shown.push_back(&entry);
    int level = 0;
    for (std::wstring up = parent; !up.empty(); ++level)
        for (const MenuEntry& entry : entries_)
            if (up == entry.key) { up = orEmpty(entry.parent); break; }

    RECT window{};
    GetWindowRect(menuWindow, &window);
    POINT client{0, 0};
    ClientToScreen(menuWindow, &client);
    std::printf("menu %s level %d window %ld %ld %ld %ld client %ld %ld\n", parent.empty() ? "-" : utf8(parent).c_str(),
                level, window.left, window.top, window.right, window.bottom, client.x, client.y);

    const int count = GetMenuItemCount(menu);
    if (count != static_cast<int>(shown.size()))
        std::printf("note menu %s has %d items, the host expects %u\n", utf8(parent).c_str(), count,
                    static_cast<unsigned>(shown.size()));
    for (int i = 0; i < count && i < static_cast<int>(shown.size()); ++i) {
        const std::wstring key = shown[i]->key;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        keyOfId_[info.wID] = key;
        if (info.hSubMenu != nullptr) parentOfSubmenu_[info.hSubMenu] = key;
        RECT rc{};
        GetMenuItemRect(nullptr, menu, i, &rc);
        std::printf("item %s %ld %ld %ld %ld\n", utf8(key).c_str(), rc.left, rc.top, rc.right, rc.bottom);
    }
}

// For each item of `menu` and, depth first, of its submenus, what an accessibility client reads
// from its item data, the text in UTF-16 code units as hexadecimal ("-" when empty):
//   accessible <level> separator | none | <signature> <cchWText> <the cchWText units at pszWText>
// where level is 0 for the pop-up's own menu, and "none" is an item without the header.
void Probe::reportAccessibleItems(HMENU menu, int level) const {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA | MIIM_FTYPE;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        std::string read;
        const auto* header = reinterpret_cast<const MSAAMENUINFO*>(info.dwItemData);
        if (info.fType & MFT_SEPARATOR) {
            read = info.dwItemData == 0 ? "separator" : "separator-with-data";
        } else if (header == nullptr || header->dwMSAASignature != MSAA_MENU_SIG) {
            read = "none";
        } else {
            char unit[40];
            std::snprintf(unit, sizeof unit, "%08lx %lu ", static_cast<unsigned long>(header->dwMSAASignature),
                          static_cast<unsigned long>(header->cchWText));
            read = unit;
            for (DWORD c = 0; c < header->cchWText; ++c) {
                std::snprintf(unit, sizeof unit, "%04x", static_cast<unsigned>(header->pszWText[c]));
                read += unit;
            }
            if (header->cchWText == 0) read += "-";
        }
        std::printf("accessible %d %s\n", level, read.c_str());
        if (HMENU submenu = GetSubMenu(menu, i)) reportAccessibleItems(submenu, level + 1);
    }
}

std::wstring Probe::keyOfItem(UINT_PTR itemId) const {
    if (const auto found = keyOfId_.find(itemId); found != keyOfId_.end()) return found->second;
    return L"#" + std::to_wstring(itemId);
}

}  // namespace demo
