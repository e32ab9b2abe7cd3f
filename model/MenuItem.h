#pragma once
// One entry of the pop-up menu: its label, display flags, picture indexes and its place in the
// menu tree. Items are shared: the collection, the host and every child hold counted references;
// an item never holds its children.

#include <cstdint>
#include <string>

#include "model/RefCounted.h"

namespace popupmenu {

class ItemStore;
class MenuItems;

class MenuItem : public RefCounted {
public:
    using Bool = std::int16_t;  // VARIANT_BOOL as stored: -1 true, 0 false; any non-zero reads as true
    static constexpr Bool True = -1;
    static constexpr Bool False = 0;

    MenuItem() = default;
    ~MenuItem() override;

    // Public members, as the automation interface offers them. Setters store what they are given.
    Bool Visible() const noexcept { return visible_; }
    void setVisible(Bool value) noexcept { visible_ = value; }
    MenuItem* Parent() const noexcept { return parent_.get(); }
    Bool IsSubMenu() const noexcept { return isSubMenu_; }
    const std::u16string& Text() const noexcept { return text_; }
    // A new label drops the size measured for the old one.
    void setText(std::u16string value) {
        text_ = std::move(value);
        measured_ = {};
    }
    const std::u16string& key() const noexcept { return key_; }
    Bool Enabled() const noexcept { return enabled_; }
    void setEnabled(Bool value) noexcept { enabled_ = value; }
    Bool Checked() const noexcept { return checked_; }
    void setChecked(Bool value) noexcept { checked_ = value; }
    std::int32_t NormalPictureIndex() const noexcept { return normalPictureIndex_; }
    void setNormalPictureIndex(std::int32_t value) noexcept { normalPictureIndex_ = value; }
    std::int32_t CheckedPictureIndex() const noexcept { return checkedPictureIndex_; }
    void setCheckedPictureIndex(std::int32_t value) noexcept { checkedPictureIndex_ = value; }

    // The identifier under which the native menu knows the item. Internal: no client reads it.
    std::int32_t ItemID() const noexcept { return itemID_; }

    // The size the renderer measured for the current label, kept with the renderer's stamp of the
    // font and DPI it was measured in; stamp 0 means none. Internal: no client reads it.
    struct MeasuredSize {
        std::uint64_t stamp = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;
    };
    const MeasuredSize& measuredSize() const noexcept { return measured_; }
    void keepMeasuredSize(const MeasuredSize& size) noexcept { measured_ = size; }

private:
    // Written only by the collection, which keeps its index by ItemID exact.
    friend class MenuItems;
    friend class ItemStore;
    void SetParent(MenuItem* parent) noexcept { parent_ = Ref<MenuItem>(parent); }
    void setItemID(std::int32_t value) noexcept { itemID_ = value; }
    void MarkAsSubMenu() noexcept { isSubMenu_ = True; }
    void SetKey(std::u16string value) { key_ = std::move(value); }

    std::u16string text_;
    std::u16string key_;
    Bool enabled_ = True;
    Bool checked_ = False;
    std::int32_t itemID_ = -1;
    Bool isSubMenu_ = False;
    Ref<MenuItem> parent_;
    std::int32_t normalPictureIndex_ = -1;
    std::int32_t checkedPictureIndex_ = -1;
    Bool visible_ = True;
    MeasuredSize measured_;
};

}  // namespace popupmenu
