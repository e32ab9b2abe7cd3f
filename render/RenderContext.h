#pragma once
// What the renderer reads of the pop-up's shared state. The engine hands it over with every
// measure and draw request, so the renderer never reaches back into the engine.

#include <cstdint>
#include <vector>

#include "platform/Platform.h"
#include "render/Scale.h"

namespace popupmenu {

class MenuItems;
class PictureCache;

struct RenderContext {
    Platform& platform;
    Handle ownerDC = 0;                // the DC labels are measured on: one like the owner window's
    const MenuItems* items = nullptr;  // the collection to search; nullptr: no collection
    Handle imageList = 0;
    std::int32_t iconWidth = 0;
    std::int32_t iconHeight = 0;
    Handle measuringFont = 0;          // the font each request selects to measure in; 0: the DC's own
    std::uint32_t dpi = kBaseDpi;      // the DPI the pop-up is shown at: every size of the layout follows it
    // The stamp of the measuring font and `dpi` (MeasureStamps): a measure request answers with
    // the size the item keeps under this stamp, and measures and keeps it otherwise. 0: sizes are
    // neither kept nor reused.
    std::uint64_t measureStamp = 0;
    bool highContrast = false;         // a high-contrast theme was on when the pop-up opened: system colours only
    // The pictures kept for the pop-up (KeepPictures), which the painters output instead of
    // drawing them from the image list again; nullptr: every picture is drawn from the image list.
    PictureCache* pictures = nullptr;
};

// Answers a WM_MEASUREITEM for `itemID`: returns the width and sets `height` when an item has that
// identifier; returns 0 and leaves `height` alone when none has (or there is no collection). The
// label is measured on the owner's DC in `measuringFont`, and the DC gets its own font back; an
// item that keeps a size under `measureStamp` is answered with it, without a platform call.
std::int32_t MeasureMenuItem(const RenderContext& context, std::int32_t itemID, std::int32_t& height);

// Keeps the pictures `indices` of the image list for the rest of the pop-up, as they look drawn
// over the menu colour, when the context has a picture cache and its image list passes the size
// gate: called when a menu opens, with the pictures its items show, so that its draw requests
// output kept pixels instead of drawing from the image list each time.
void KeepPictures(const RenderContext& context, const std::vector<std::int32_t>& indices);

// Answers a WM_DRAWITEM whose lParam is `drawItem`: paints the item completely, or nothing when
// the request is not for a menu item or no item has its identifier.
void DrawMenuItem(const RenderContext& context, LParam drawItem);

}  // namespace popupmenu
