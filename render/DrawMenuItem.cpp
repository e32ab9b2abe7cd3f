#include "model/MenuItems.h"
#include "render/Coordinates.h"
#include "render/Painters.h"
#include "render/RenderContext.h"

namespace popupmenu {
namespace {

constexpr std::int32_t kLabelLeft = 23;
constexpr std::int32_t kLabelTop = 3;
constexpr std::int32_t kLabelHeight = 20;

enum class Painter { Selected, Disabled, Checked, Normal };

Painter painterFor(std::uint32_t itemState) {
    const bool selected = (itemState & win::ODS_SELECTED) != 0;
    const bool inactive = (itemState & (win::ODS_GRAYED | win::ODS_DISABLED)) != 0;
    const bool checked = (itemState & win::ODS_CHECKED) != 0;
    if (selected && !inactive) return Painter::Selected;
    if (inactive) return Painter::Disabled;
    return checked ? Painter::Checked : Painter::Normal;
}

}  // namespace

void DrawMenuItem(const RenderContext& context, LParam drawItem) {
    Platform& platform = context.platform;
    const DrawItemRecord record = platform.readDrawItem(drawItem);
    if (record.CtlType != win::ODT_MENU || context.items == nullptr) return;
    const std::size_t position = context.items->positionOfItemID(static_cast<std::int32_t>(record.itemID));
    if (position == 0) return;
    // A reference of its own keeps the item alive for the whole request.
    const Ref<MenuItem> item{context.items->itemAt(position)};
    if (!item) return;

    platform.setBkMode(record.hDC, win::TRANSPARENT);
    // While the system hides keyboard cues, access letters are not underlined; the label is measured
    // the same either way, so its item keeps its size when the cues show.
    const std::uint32_t labelFormat = (record.itemState & win::ODS_NOACCEL) != 0 ? win::DT_HIDEPREFIX : 0;
    const PaintRequest request{context, record.hDC, record.rcItem, *item, labelFormat};
    const bool pbChecked = (record.itemState & win::ODS_CHECKED) != 0;
    switch (painterFor(record.itemState)) {
        case Painter::Selected: PaintSelectedItem(request, pbChecked); break;
        case Painter::Disabled: PaintDisabledItem(request, pbChecked); break;
        case Painter::Checked: PaintCheckedItem(request); break;
        case Painter::Normal: PaintNormalItem(request); break;
    }

    // The label area is 20 pixels high (at 96 DPI) whatever the item's height; the text is clipped
    // to it, breaks lines only at CR and LF, and has its ampersand prefixes processed.
    const std::uint32_t dpi = context.dpi;
    const std::int32_t top = offsetBy(record.rcItem.top, scaled(kLabelTop, dpi));
    Rect label{offsetBy(record.rcItem.left, scaled(kLabelLeft, dpi)), top, record.rcItem.right,
               offsetBy(top, scaled(kLabelHeight, dpi))};
    platform.drawText(record.hDC, item->Text(), label, labelFormat);
}

}  // namespace popupmenu
