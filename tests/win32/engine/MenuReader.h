#pragma once
// Reads an open pop-up menu the way an accessibility client of the same process does: the menu
// window's menu (MN_GETHMENU), then every item of it and of each submenu, with its type and its
// item data, and the label that an accessibility header at the start of the item data names.

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

namespace popupmenu::testing {

struct ReadMenuItem {
    int level = 0;              // 0 for the menu itself, 1 for its submenus, ...
    bool separator = false;
    ULONG_PTR itemData = 0;
    bool hasHeader = false;     // the item data starts with MSAA_MENU_SIG
    DWORD length = 0;           // cchWText
    std::wstring text;          // the cchWText characters at pszWText
    bool terminated = false;    // a NUL follows them
};

// The menu a visible menu window shows.
inline HMENU menuOfWindow(HWND menuWindow) {
    return reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
}

// Every item of `menu` and, depth first, of its submenus, in menu order.
inline void readMenuTree(HMENU menu, std::vector<ReadMenuItem>& items, int level = 0) {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA | MIIM_FTYPE;
        ReadMenuItem item;
        item.level = level;
        if (GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) {
            item.separator = (info.fType & MFT_SEPARATOR) != 0;
            item.itemData = info.dwItemData;
            const auto* header = reinterpret_cast<const MSAAMENUINFO*>(info.dwItemData);
            if (header != nullptr && header->dwMSAASignature == MSAA_MENU_SIG) {
                item.hasHeader = true;
                item.length = header->cchWText;
                if (header->pszWText != nullptr) {
                    item.text.assign(header->pszWText, header->cchWText);
                    item.terminated = header->pszWText[header->cchWText] == L'\0';
                }
            }
        }
        items.push_back(item);
        if (HMENU submenu = GetSubMenu(menu, position)) readMenuTree(submenu, items, level + 1);
    }
}

}  // namespace popupmenu::testing
