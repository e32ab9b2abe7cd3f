#pragma once
// The window hook: the window procedure that stands in for the owner window's own while
// a pop-up is open. It answers the menu's owner-draw requests through the renderer, passes every
// message on to the owner's own procedure, and answers access letters the owner left unanswered.

#include <cstdint>

#include "platform/Platform.h"

namespace popupmenu {

// The procedure the platform calls for the owner window. It routes the message, then returns what
// the owner's own procedure (PopupState.lPrevWndProc) answers; for a WM_MENUCHAR that the owner's
// procedure ignored (MNC_IGNORE) in a menu of the open pop-up, it returns the library's answer
// instead (see AnswerMenuChar). No failure leaves it: a failure while routing or answering is
// contained, and the message still reaches the owner's procedure.
LResult MenuWndProc(Handle hwnd, std::uint32_t uMsg, WParam wParam, LParam lParam) noexcept;

// Answers WM_MEASUREITEM (for any wParam) and WM_DRAWITEM from a menu (wParam 0) for the pop-up
// open on this thread; ignores every other message, and everything when no pop-up is open.
void RouteMenuMessage(Handle hwnd, std::uint32_t uMsg, WParam wParam, LParam lParam);

}  // namespace popupmenu
