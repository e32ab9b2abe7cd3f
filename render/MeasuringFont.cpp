#include "render/MeasuringFont.h"

namespace popupmenu {

OwnedGdiObject CreateMeasuringFont(Platform& platform, std::uint32_t dpi) {
    NonClientMetricsA metrics;
    metrics.cbSize = sizeof metrics;
    // On failure the record stays zero.
    platform.getNonClientMetrics(metrics, dpi);
    LogFontA font;
    font.lfHeight = metrics.lfMenuFont.lfHeight;
    font.lfWeight = metrics.lfMenuFont.lfWeight;
    font.lfFaceName = metrics.lfMenuFont.lfFaceName;
    return OwnedGdiObject(platform, platform.createFontIndirect(font));
}

}  // namespace popupmenu
