#pragma once
// How many GDI and USER objects this process holds, to show that pop-ups leave nothing behind.

namespace hostsupport {

struct GuiObjects {
    long gdi = 0;
    long user = 0;
    const char* source = "";  // how they were counted
};

// GetGuiResources where the system implements it. Where it does not (Wine answers 0 with
// ERROR_CALL_NOT_IMPLEMENTED), the objects are counted directly: GDI objects in the process's
// GDI handle table, USER objects as the windows and menus of the process.
GuiObjects countGuiObjects();

}  // namespace hostsupport
