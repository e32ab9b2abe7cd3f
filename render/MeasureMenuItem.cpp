#include <optional>

#include "model/MenuItems.h"
#include "platform/Owned.h"
#include "render/Coordinates.h"
#include "render/RenderContext.h"

namespace popupmenu {
namespace {

constexpr std::int32_t kWidthMargin = 30;
constexpr std::int32_t kHeightMargin = 7;

}  // namespace

std::int32_t MeasureMenuItem(const RenderContext& context, std::int32_t itemID, std::int32_t& height) {
    const std::size_t position = context.items != nullptr ? context.items->positionOfItemID(itemID) : 0;
    const Ref<MenuItem> item{position != 0 ? context.items->itemAt(position) : nullptr};
    if (!item) return 0;

    const MenuItem::MeasuredSize& kept = item->measuredSize();
    if (context.measureStamp != 0 && kept.stamp == context.measureStamp) {
        height = kept.height;
        return kept.width;
    }

    Platform& platform = context.platform;
    // Without a measuring font the text is measured in the DC's own font. The guard puts the DC's
    // own font back, whatever happens while measuring.
    std::optional<SelectionGuard> keepFont;
    if (context.measuringFont != 0) keepFont.emplace(platform, context.ownerDC, context.measuringFont);
    Rect extent{0, 0, 0, 0};
    platform.drawText(context.ownerDC, item->Text(), extent, win::DT_CALCRECT);
    height = offsetBy(extent.bottom, kHeightMargin);
    const std::int32_t width = offsetBy(extent.right, kWidthMargin);
    if (context.measureStamp != 0) item->keepMeasuredSize({context.measureStamp, width, height});
    return width;
}

}  // namespace popupmenu
