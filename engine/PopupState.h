#pragma once
// PopupState: the one record of this thread's pop-up, shared by PopUp, the window hook and, through
// the render context built from it, the renderer. It is kept per thread: components are
// apartment-threaded, and a pop-up runs entirely on the thread that called PopUp.

#include <cstdint>
#include <vector>

#include "engine/BuildMenu.h"
#include "model/MenuItems.h"
#include "model/RefCounted.h"
#include "platform/Platform.h"
#include "render/MeasureStamps.h"
#include "render/RenderContext.h"

namespace popupmenu {

struct PopupState {
    Handle hRootMenu = 0;       // root menu of the current or last pop-up (destroyed once it closed)
    Handle hImageList = 0;      // the host's image list; never created or destroyed here
    Handle hOwnerDC = 0;        // the owner window's device context while a pop-up is open
    Handle hOwnerWnd = 0;       // the window that owns the menu and whose procedure is replaced
    // The collection of the component created last on this thread, cleared when any component is
    // released. A pop-up never reads it: the renderer is handed the collection the menu was built
    // from, so that with several components each menu shows its own items.
    Ref<MenuItems> Items;
    ProcValue lPrevWndProc = 0; // the owner's own window procedure while it is replaced
    std::int32_t lIconWidth = 0;
    std::int32_t lIconHeight = 0;

    // --- the pop-up that is open, as the window hook sees it ---
    // From the start of PopUp to its end on every way out; a PopUp called meanwhile is refused.
    bool open = false;
    // The platform the hook forwards messages through. It stays set after the pop-up has closed,
    // like lPrevWndProc, so a hook that another subclass left in the owner's chain still reaches
    // the owner's own procedure.
    Platform* platform = nullptr;
    // What the renderer reads, built once when the owner's device context and the measuring font
    // are ready, just before the owner is hooked, and owned by PopUp for as long as the pop-up is
    // open; nullptr before that and after the pop-up has closed. Its `dpi` is the pop-up's one DPI,
    // read once when it opens (PopupDpi), which every measured and drawn size follows.
    const RenderContext* render = nullptr;
    // The menus of the pop-up: the root menu and every submenu built for it. Access letters are
    // answered for these menus only.
    std::vector<Handle> menus;
    // The pictures each of those menus shows: when one opens, the render context's picture cache
    // keeps them for its draw requests.
    MenuPictures menuPictures;

    // --- kept from one pop-up to the next ---
    // The stamps of the item sizes measured on this thread: each pop-up's render context carries
    // the stamp of its measuring font and DPI, and the hook announces the system's setting changes.
    MeasureStamps measureStamps;
};

// This thread's record; all fields are zero (Items none, no render context) at the thread's first use.
PopupState& popupState() noexcept;

}  // namespace popupmenu
