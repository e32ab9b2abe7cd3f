#include <algorithm>
#include <optional>

#include "model/MenuItems.h"
#include "platform/Owned.h"
#include "render/Coordinates.h"
#include "render/RenderContext.h"

namespace popupmenu {
namespace {

constexpr std::int32_t kWidthMargin = 30;
constexpr std::int32_t kHeightMargin = 7;
// The image column's height at 96 DPI: the gradient, the picture box and the glyph fit into it.
constexpr std::int32_t kImageColumnHeight = 20;

// The lowest row at the pop-up's DPI. At 96 DPI a row is its label's height plus the margin and
// nothing else, as it always was. Above it the menu font's line is rounded to whole pixels by the
// platform and can come short of the scaled column (measured under Wine at 192 DPI: a line of 25
// pixels where 96 DPI has 13, so a row of 39 for a gradient of 40), so a row is at least as high
// as the scaled image column there.
std::int32_t lowestRow(std::uint32_t dpi) { return dpi == kBaseDpi ? 0 : scaled(kImageColumnHeight, dpi); }

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
    height = std::max(offsetBy(extent.bottom, scaled(kHeightMargin, context.dpi)), lowestRow(context.dpi));
    const std::int32_t width = offsetBy(extent.right, scaled(kWidthMargin, context.dpi));
    if (context.measureStamp != 0) item->keepMeasuredSize({context.measureStamp, width, height});
    return width;
}

}  // namespace popupmenu
