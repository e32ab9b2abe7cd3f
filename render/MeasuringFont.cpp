#include "render/MeasuringFont.h"

namespace popupmenu {

OwnedGdiObject CreateMeasuringFont(Platform& platform) {
    NonClientMetricsA metrics;
    metrics.cbSize = sizeof metrics;
    // On failure the record stays zero.
    platform.getNonClientMetrics(metrics);
    LogFontA font;
    font.lfHeight = metrics.lfMenuFont.lfHeight;
    font.lfWeight = metrics.lfMenuFont.lfWeight;
    font.lfFaceName = metrics.lfMenuFont.lfFaceName;
    return OwnedGdiObject(platform, platform.createFontIndirect(font));
}

}  // namespace popupmenu
