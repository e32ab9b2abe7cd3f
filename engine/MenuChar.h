#pragma once
// Access letters in the pop-up's owner-drawn menus. The platform matches a typed character only
// against the text of its own items; owner-drawn items have none, so it asks the owner window with
// WM_MENUCHAR, and this is the library's answer.

#include <cstdint>
#include <optional>
#include <span>

#include "model/MenuItems.h"
#include "platform/Platform.h"

namespace popupmenu {

// The answer to a WM_MENUCHAR that `owner` received for `menu` (the message's lParam) when the
// user typed `typed` (the low word of its wParam), or none when `menu` is not one of `ourMenus`
// or no item of it has that access letter.
//
// The menu is read as it was built: only the items in it count, at their positions there, and an
// item's data is its record (see ItemRecords), whose identifier finds it in `items` as the renderer
// finds it. Separators never match. One enabled match is executed (MNC_EXECUTE: a command is
// chosen, a submenu opens). A disabled match is never executed; like several matches it is
// highlighted (MNC_SELECT): each letter moves the highlight on to the next match after the
// highlighted item, from the first again after the last.
std::optional<LResult> AnswerMenuChar(Platform& platform, const MenuItems& items, std::span<const Handle> ourMenus,
                                      Handle owner, char16_t typed, Handle menu);

}  // namespace popupmenu
