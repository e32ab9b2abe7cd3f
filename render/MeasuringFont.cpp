#include "render/MeasuringFont.h"

namespace popupmenu {

LogFontA DescribeMeasuringFont(Platform& platform, std::uint32_t dpi) {
    NonClientMetricsA metrics;
    metrics.cbSize = sizeof metrics;
    // On failure the record stays zero.
    platform.getNonClientMetrics(metrics, dpi);
    LogFontA font;
    font.lfHeight = metrics.lfMenuFont.lfHeight;
    font.lfWeight = metrics.lfMenuFont.lfWeight;
    font.lfFaceName = metrics.lfMenuFont.lfFaceName;
    return font;
}

OwnedGdiObject CreateMeasuringFont(Platform& platform, const LogFontA& description) {
    return OwnedGdiObject(platform, platform.createFontIndirect(description));
}

OwnedGdiObject CreateMeasuringFont(Platform& platform, std::uint32_t dpi) {
    return CreateMeasuringFont(platform, DescribeMeasuringFont(platform, dpi));
}

}  // namespace popupmenu
