#pragma once
// What the demo host prints for the end-to-end tests, besides the chosen key: the system colours,
// where each item of an open menu lies on the screen, each item painted, the host window's
// procedure around every pop-up and the GUI objects of the process. It can also close each
// pop-up by itself once the menu has been painted, so that many pop-ups run unattended.

#include <windows.h>

#include <map>
#include <set>
#include <span>
#include <string>

#include "MenuEntry.h"

namespace demo {

struct ProbeOptions {
    bool report = false;       // colours, item rectangles and painted items
    bool printProcs = false;   // the window procedure before, during and after each pop-up
    bool autoDismiss = false;  // once painted, highlight each top-level item in turn, then end the pop-up
};

class Probe {
public:
    Probe(HWND window, WNDPROC ownProcedure, std::span<const MenuEntry> entries, ProbeOptions options);

    void printSystemColours() const;
    void printObjectCounts(const char* label) const;
    void printPaintCounts() const;
    // Creates one GDI object and one menu and shows that the counts see them.
    void printCounterCheck() const;

    void beforePopUp();
    void afterPopUp();
    // Messages of the host window while the menu is open.
    void onTimer();
    void onDrawItem(const DRAWITEMSTRUCT& item);

private:
    void printProcedure(const char* when) const;
    void reportMenuWindow(HWND menuWindow);
    void reportAccessibleItems(HMENU menu, int level) const;
    std::wstring keyOfItem(UINT_PTR itemId) const;

    HWND window_;
    WNDPROC ownProcedure_;
    std::span<const MenuEntry> entries_;
    ProbeOptions options_;

    // State of the pop-up that is open.
    bool procedurePrinted_ = false;
    int itemsPainted_ = 0;
    int keysSent_ = 0;
    std::set<HWND> reportedWindows_;
    std::map<HMENU, std::wstring> parentOfSubmenu_;  // submenu handle -> key of its item
    std::map<UINT_PTR, std::wstring> keyOfId_;       // native item identifier -> key

    // Over all pop-ups.
    long totalPainted_ = 0;
    long totalHighlighted_ = 0;
};

}  // namespace demo
