#pragma once
// One line of the demo's menu: what the host hands to MenuItems.Add and then sets on the item.

namespace demo {

struct MenuEntry {
    const wchar_t* key;
    const wchar_t* text;
    const wchar_t* parent = nullptr;  // key of the item whose submenu holds this one
    long picture = -1;                // NormalPictureIndex: an image of the strip, or none
    long checkedPicture = -1;         // CheckedPictureIndex: none means the check glyph
    bool checked = false;
    bool enabled = true;
    bool visible = true;
};

}  // namespace demo
