#include "render/PainterRules.h"

namespace popupmenu {

void PaintNormalItem(const PaintRequest& request) {
    Platform& platform = request.context.platform;
    const ColorRef menu = platform.getSysColor(win::COLOR_MENU);
    paintSolid(platform, request.hDC, request.rcItem, menu);
    // The image list is passed on as it is: a missing one draws nothing.
    const std::int32_t normalPicture = request.item.NormalPictureIndex();
    if (normalPicture >= 0) drawPictureOverMenuColour(request, normalPicture, menu, request.rcItem);
    platform.setTextColor(request.hDC, platform.getSysColor(win::COLOR_MENUTEXT));
}

}  // namespace popupmenu
