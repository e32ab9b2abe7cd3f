#pragma once
// The four item painters. Each paints one visual state of an owner-drawn item: its background,
// the image column at its left edge (a picture of the image list or the check glyph) and, through
// the text colour it leaves in the item's device context, the colour of the label that
// DrawMenuItem draws after it. They leave the background mode, the font, the pen and the brush of
// the device context as they found them.

#include "model/MenuItem.h"
#include "platform/Platform.h"
#include "render/RenderContext.h"

namespace popupmenu {

// One draw request as the painters see it.
struct PaintRequest {
    const RenderContext& context;
    Handle hDC;
    Rect rcItem;
    const MenuItem& item;
    // The DrawText format of the item's label: 0, or DT_HIDEPREFIX while the system hides
    // access-letter underlines (ODS_NOACCEL).
    std::uint32_t labelFormat = 0;
};

// Selected and enabled: a gradient from the highlight colour to the menu colour (in high contrast,
// a flat highlight). Leaves the highlight-text colour.
void PaintSelectedItem(const PaintRequest& request, bool pbChecked);
// Disabled or grayed, selected or not: no background, an embossed picture or check and a first,
// grey copy of the label. Leaves white for the second copy. In high contrast: the menu colour, the
// check in the grey-text colour, and no copy of its own: it leaves the grey-text colour for the
// one label.
void PaintDisabledItem(const PaintRequest& request, bool pbChecked);
// Enabled, not selected, checked: menu-coloured background with the checked picture or a black
// check. Leaves the menu-text colour.
void PaintCheckedItem(const PaintRequest& request);
// Enabled, not selected, not checked: menu-coloured background with the normal picture. Leaves
// the menu-text colour.
void PaintNormalItem(const PaintRequest& request);

}  // namespace popupmenu
