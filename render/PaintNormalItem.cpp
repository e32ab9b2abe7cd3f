#include "render/PainterRules.h"

namespace popupmenu {

void PaintNormalItem(const PaintRequest& request) {
    Platform& platform = request.context.platform;
    paintSolid(platform, request.hDC, request.rcItem, platform.getSysColor(win::COLOR_MENU));
    // The image list is passed on as it is: a missing one draws nothing.
    const std::int32_t normalPicture = request.item.NormalPictureIndex();
    if (normalPicture >= 0) drawPictureIfFits(request, normalPicture);
    platform.setTextColor(request.hDC, platform.getSysColor(win::COLOR_MENUTEXT));
}

}  // namespace popupmenu
