#include "render/Coordinates.h"
#include "render/PainterRules.h"

namespace popupmenu {
namespace {

// A black check: AND-ing the glyph turns its mark black and leaves the rest of the item as it is.
void paintBlackCheck(const PaintRequest& request) { drawCheckIntoItem(request, win::SRCAND); }

}  // namespace

void PaintCheckedItem(const PaintRequest& request) {
    Platform& platform = request.context.platform;
    const ColorRef menu = platform.getSysColor(win::COLOR_MENU);
    paintSolid(platform, request.hDC, request.rcItem, menu);
    const std::int32_t checkedPicture = request.item.CheckedPictureIndex();
    if (checkedPicture >= 0)
        drawPictureOverMenuColour(request, checkedPicture, menu, request.rcItem);
    else if (request.context.highContrast)
        drawCheckInColor(request, platform.getSysColor(win::COLOR_MENUTEXT), menu);
    else
        paintBlackCheck(request);
    platform.setTextColor(request.hDC, platform.getSysColor(win::COLOR_MENUTEXT));
}

}  // namespace popupmenu
