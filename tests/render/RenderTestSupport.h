#pragma once
// What the renderer tests share: a collection with items, the context the engine would hand over,
// a DRAWITEMSTRUCT to point the request at, and checks that a request left no GDI object behind.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/MenuItems.h"
#include "model/Value.h"
#include "render/RenderContext.h"
#include "tests/support/AddItem.h"
#include "tests/support/RecordingPlatform.h"

namespace popupmenu::testing {

// Records like RecordingPlatform, and also:
// - the n-th call (from 1) of an operation named with failOnCall throws after it was recorded, as
//   a failure inside the platform or the collection would;
// - onImageListDraw and onDrawCheckGlyph stand in for the image list's drawing and the glyph's
//   copy, for instance to put pixels into the DIB section selected into the target DC.
class RenderTestPlatform : public RecordingPlatform {
public:
    void failOnCall(const std::string& op, int nth = 1) { failures_[op] = nth; }

    std::function<void(Handle dc, std::int32_t index, std::int32_t x, std::int32_t y)> onImageListDraw;
    // Stands in for the check glyph's copy into `dc`, for instance into a DIB section.
    std::function<void(Handle dc)> onDrawCheckGlyph;

    // The pixels of the DIB section selected into `dc`, or nullptr when it holds none.
    std::vector<std::uint32_t>* dibIn(Handle dc) {
        const Handle bitmap = selectedIn(dc, 'b');
        try {
            return &dibPixels(bitmap);
        } catch (const std::out_of_range&) {
            return nullptr;
        }
    }

    int drawText(Handle dc, std::u16string_view text, Rect& rect, std::uint32_t format) override {
        const int result = RecordingPlatform::drawText(dc, text, rect, format);
        check("DrawTextW");
        return result;
    }
    bool imageListDraw(Handle imageList, std::int32_t index, Handle dc, std::int32_t x, std::int32_t y,
                       std::uint32_t style) override {
        const bool ok = RecordingPlatform::imageListDraw(imageList, index, dc, x, y, style);
        if (onImageListDraw) onImageListDraw(dc, index, x, y);
        check("ImageList_Draw");
        return ok;
    }
    int setDIBitsToDevice(Handle dc, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          const std::uint32_t* pixels) override {
        const int rows = RecordingPlatform::setDIBitsToDevice(dc, x, y, width, height, pixels);
        check("SetDIBitsToDevice");
        return rows;
    }
    bool rectangle(Handle dc, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override {
        const bool ok = RecordingPlatform::rectangle(dc, left, top, right, bottom);
        check("Rectangle");
        return ok;
    }
    bool drawCheckGlyph(Handle dc, std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy, std::int32_t srcX,
                        std::int32_t srcY, std::int32_t size, std::uint32_t rop) override {
        const bool ok = RecordingPlatform::drawCheckGlyph(dc, x, y, cx, cy, srcX, srcY, size, rop);
        if (onDrawCheckGlyph) onDrawCheckGlyph(dc);
        check("StretchDIBits");
        return ok;
    }
    bool drawStateBitmap(Handle dc, Handle bitmap, std::int32_t x, std::int32_t y, std::uint32_t flags) override {
        const bool ok = RecordingPlatform::drawStateBitmap(dc, bitmap, x, y, flags);
        check("DrawStateW");
        return ok;
    }

private:
    void check(const std::string& op) {
        auto it = failures_.find(op);
        if (it != failures_.end() && --it->second == 0) throw std::runtime_error("simulated failure in " + op);
    }
    std::map<std::string, int> failures_;
};

// The handles a request names; distinct from everything the recording platform makes.
inline constexpr Handle kItemDC = 0x5000;
inline constexpr Handle kOwnerDC = 0x5100;
inline constexpr Handle kImageList = 0x6100;
// What the recording platform reports as a device context's own object of each kind.
inline constexpr Handle kStockPen = 0x9000 + 'p', kStockBrush = 0x9000 + 'r', kStockBitmap = 0x9000 + 'b',
                        kStockFont = 0x9000 + 'f';

// Distinct system colours, so that every use shows which colour it took.
inline constexpr ColorRef kMenu = 0xC8D0D4, kMenuText = 0x010203, kHighlight = 0x6A240A, kHighlightText = 0xF0F1F2,
                          kGrayText = 0x808080;

// A collection, the recording platform with those colours, and the context the engine would hand
// over: what every renderer test starts from. A plain struct, so that each case of a table can
// have one of its own; RenderTest makes it a fixture.
struct RenderScene {
    RenderScene() {
        platform.setSysColor(win::COLOR_MENU, kMenu);
        platform.setSysColor(win::COLOR_MENUTEXT, kMenuText);
        platform.setSysColor(win::COLOR_HIGHLIGHT, kHighlight);
        platform.setSysColor(win::COLOR_HIGHLIGHTTEXT, kHighlightText);
        platform.setSysColor(win::COLOR_GRAYTEXT, kGrayText);
    }

    // Adds an item; its ItemID is the collection's count after the addition.
    Ref<MenuItem> add(std::u16string key, std::u16string text, std::int32_t normalPicture = -1,
                      std::int32_t checkedPicture = -1) {
        return addWithPictures(*items, std::move(key), std::move(text), normalPicture, checkedPicture);
    }

    // A menu draw request for the item with `itemID` in `itemState`, painting `rcItem` of kItemDC.
    LParam request(std::int32_t itemID, std::uint32_t itemState, Rect rcItem = {0, 40, 120, 60}) {
        drawItem = DrawItemRecord{};
        drawItem.CtlType = win::ODT_MENU;
        drawItem.itemID = static_cast<std::uint32_t>(itemID);
        drawItem.itemState = itemState;
        drawItem.hDC = kItemDC;
        drawItem.rcItem = rcItem;
        return reinterpret_cast<LParam>(&drawItem);
    }

    // The calls a painter made: everything between the background mode and the label.
    Calls painterCalls() const {
        const Calls& all = platform.calls();
        Calls out;
        bool inside = false;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i].name == "SetBkMode") { inside = true; continue; }
            if (inside && all[i].name == "DrawTextW" && i + 1 == all.size()) break;
            if (inside) out.push_back(all[i]);
        }
        return out;
    }

    // Nothing made is left alive, nothing was deleted while selected, and the item's device
    // context holds its own pen, brush and font again (or was never given others).
    void expectNothingLeft() const {
        EXPECT_TRUE(platform.liveGdiObjects().empty());
        EXPECT_TRUE(platform.liveMemoryDCs().empty());
        EXPECT_TRUE(platform.deletedWhileSelected().empty());
        const std::pair<char, Handle> stockObjects[] = {{'p', kStockPen}, {'r', kStockBrush}, {'f', kStockFont}};
        for (Handle dc : {kItemDC, kOwnerDC}) {
            for (const auto& [kind, stock] : stockObjects) {
                const Handle held = platform.selectedIn(dc, kind);
                EXPECT_TRUE(held == 0 || held == stock) << "dc " << std::hex << dc << " holds " << held;
            }
        }
    }

    RenderTestPlatform platform;
    Ref<MenuItems> items = makeRef<MenuItems>(platform);
    RenderContext context{platform, kOwnerDC, items.get(), kImageList, 16, 16};
    DrawItemRecord drawItem;
};

class RenderTest : public ::testing::Test, public RenderScene {};

}  // namespace popupmenu::testing
