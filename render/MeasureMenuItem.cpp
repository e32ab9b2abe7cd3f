#include <optional>

#include "model/MenuItems.h"
#include "platform/Owned.h"
#include "render/Coordinates.h"
#include "render/RenderContext.h"

namespace popupmenu {
namespace {

constexpr std::int32_t kWidthMargin = 30;
constexpr std::int32_t kHeightMargin = 7;

// The measuring font: the system menu font's face, height and weight, and the defaults for
// everything else (upright, ANSI character set, default precision, quality and pitch).
LogFontA measuringFont(const NonClientMetricsA& metrics) {
    LogFontA font;
    font.lfHeight = metrics.lfMenuFont.lfHeight;
    font.lfWeight = metrics.lfMenuFont.lfWeight;
    font.lfFaceName = metrics.lfMenuFont.lfFaceName;
    return font;
}

}  // namespace

std::int32_t MeasureMenuItem(const RenderContext& context, std::int32_t itemID, std::int32_t& height) {
    Platform& platform = context.platform;
    NonClientMetricsA metrics;
    metrics.cbSize = sizeof metrics;
    // On failure the record stays zero and the font is made from an empty description.
    platform.getNonClientMetrics(metrics);
    const OwnedGdiObject font{platform, platform.createFontIndirect(measuringFont(metrics))};
    // A font that could not be made is not selected: the text is measured in the DC's own font.
    // The guard puts the DC's own font back before the font is deleted.
    std::optional<SelectionGuard> keepFont;
    if (font) keepFont.emplace(platform, context.ownerDC, font.get());

    std::int32_t width = 0;
    const std::size_t position = context.items != nullptr ? context.items->positionOfItemID(itemID) : 0;
    if (const Ref<MenuItem> item{position != 0 ? context.items->itemAt(position) : nullptr}) {
        Rect extent{0, 0, 0, 0};
        platform.drawText(context.ownerDC, item->Text(), extent, win::DT_CALCRECT);
        width = offsetBy(extent.right, kWidthMargin);
        height = offsetBy(extent.bottom, kHeightMargin);
    }
    return width;
}

}  // namespace popupmenu
