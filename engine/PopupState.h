#pragma once
// mdlDichiarazioni: the record the engine shares with the renderer, and what the window hook needs
// to know of the pop-up that is open. Both are kept per thread: components are apartment-threaded,
// and a pop-up runs entirely on the thread that called PopUp.

#include <cstdint>
#include <vector>

#include "model/MenuItems.h"
#include "model/RefCounted.h"
#include "platform/Platform.h"

namespace popupmenu {

struct PopupState {
    Handle hRootMenu = 0;       // root menu of the current or last pop-up (destroyed once it closed)
    Handle hImageList = 0;      // the host's image list; never created or destroyed here
    Handle hOwnerDC = 0;        // the owner window's device context while a pop-up is open
    Handle hOwnerWnd = 0;       // the window that owns the menu and whose procedure is replaced
    Ref<MenuItems> Items;       // the collection of the component created last on this thread
    ProcValue lPrevWndProc = 0; // the owner's own window procedure while it is replaced
    std::int32_t lIconWidth = 0;
    std::int32_t lIconHeight = 0;
};

// This thread's record; all fields are zero (Items none) when the thread first uses it.
PopupState& popupState() noexcept;

// The pop-up that is open on this thread, as the window hook sees it.
struct OpenPopUp {
    bool open = false;
    // The platform the hook forwards messages through. It stays set after the pop-up has closed,
    // like lPrevWndProc, so a hook that another subclass left in the owner's chain still reaches
    // the owner's own procedure.
    Platform* platform = nullptr;
    // The collection of the component whose pop-up is open: the renderer measures and draws the
    // items of the menu on screen, whichever component was created last.
    Ref<MenuItems> items;
    // The font the labels are measured in, made when the pop-up opened; 0 when none could be made.
    Handle measuringFont = 0;
    // The menus of the pop-up: the root menu and every submenu built for it. Access letters are
    // answered for these menus only.
    std::vector<Handle> menus;
};

OpenPopUp& openPopUp() noexcept;

}  // namespace popupmenu
