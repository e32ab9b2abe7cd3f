#include "render/Pixels.h"
#include "tests/render/RenderTestSupport.h"

namespace popupmenu::testing {
namespace {

using namespace win;

constexpr std::uint32_t kMergePaint = 0x00BB0226;
constexpr Rect kRc{0, 40, 120, 60};

class PaintersTest : public RenderTest {
protected:
    void paint(std::uint32_t state, Rect rc = kRc) {
        platform.clearCalls();
        DrawMenuItem(context, request(1, state, rc));
    }

    Calls painterCallsNamed(const std::set<std::string>& names) const {
        Calls out;
        for (const Call& c : painterCalls())
            if (names.count(c.name)) out.push_back(c);
        return out;
    }
};

// --- PaintSelectedItem ---

TEST_F(PaintersTest, SelectedItemIsAGradientComposedInMemoryAndOutputInOneCall) {
    add(u"a", u"Open");

    paint(ODS_SELECTED);

    EXPECT_EQ(painterCalls(), (Calls{{"GetSysColor", {COLOR_HIGHLIGHT}},
                                     {"GetSysColor", {COLOR_MENU}},
                                     {"SetDIBitsToDevice", {kItemDC, 0, 40, 120, 20}},
                                     {"GetSysColor", {COLOR_HIGHLIGHTTEXT}},
                                     {"SetTextColor", {kItemDC, kHighlightText}}}));
    expectNothingLeft();
}

TEST_F(PaintersTest, SelectedItemWithAPictureFramesTheImageColumn) {
    add(u"a", u"Open", 3);

    paint(ODS_SELECTED);

    EXPECT_EQ(painterCalls(), (Calls{{"GetSysColor", {COLOR_HIGHLIGHT}},
                                     {"GetSysColor", {COLOR_MENU}},
                                     {"SetDIBitsToDevice", {kItemDC, 21, 40, 99, 20}},
                                     {"SetDIBitsToDevice", {kItemDC, 0, 40, 20, 20}},
                                     {"DrawEdge", {kItemDC, 0, 40, 19, 60, BDR_RAISEDINNER, BF_RECT}},
                                     {"ImageList_Draw", {kImageList, 3, kItemDC, 2, 42, ILD_TRANSPARENT}},
                                     {"GetSysColor", {COLOR_HIGHLIGHTTEXT}},
                                     {"SetTextColor", {kItemDC, kHighlightText}}}));
    // The image column (columns 0 to 19, column 20 untouched) is the menu colour down the item.
    ASSERT_EQ(platform.imagesSetToDevice().size(), 2u);
    EXPECT_EQ(platform.imagesSetToDevice()[1].pixels, std::vector<std::uint32_t>(20 * 20, pixelOfColor(kMenu)));
    expectNothingLeft();
}

TEST_F(PaintersTest, SelectedItemInsetFrameAndPictureFollowTheNormalPicture) {
    struct Case {
        const char* what;
        Handle imageList;
        std::int32_t iconWidth, iconHeight, normalPicture, checkedPicture;
        bool checked;
        std::int32_t gradientLeft;                  // where the gradient copy starts
        bool frame;                                 // menu-coloured column and raised edge
        std::vector<long long> picturesDrawn;       // image-list indexes
        bool whiteCheck;
    };
    const Case cases[] = {
        {"picture", kImageList, 16, 16, 3, -1, false, 21, true, {3}, false},
        {"smaller pictures are alike", kImageList, 8, 12, 3, -1, false, 21, true, {3}, false},
        {"no image list", 0, 16, 16, 3, -1, false, 0, false, {}, false},
        {"negative image list", -0x6100, 16, 16, 3, -1, false, 0, false, {}, false},
        {"no picture", kImageList, 16, 16, -1, -1, false, 0, false, {}, false},
        {"negative picture", kImageList, 16, 16, -5, -1, false, 0, false, {}, false},
        {"17 wide", kImageList, 17, 16, 3, -1, false, 0, false, {}, false},
        {"17 high", kImageList, 16, 17, 3, -1, false, 0, false, {}, false},
        {"32 x 32", kImageList, 32, 32, 3, -1, false, 0, false, {}, false},
        {"checked keeps the inset, white check", kImageList, 16, 16, 3, -1, true, 21, false, {}, true},
        {"checked picture, no frame", kImageList, 16, 16, 3, 5, true, 21, false, {5}, false},
        {"checked picture without image list", 0, 16, 16, 3, 5, true, 0, false, {5}, false},
        {"checked picture too large: nothing", kImageList, 32, 32, 3, 5, true, 0, false, {}, false},
        {"too large: the glyph still shows", kImageList, 32, 32, 3, -1, true, 0, false, {}, true},
        {"no pictures, checked", 0, 16, 16, -1, -1, true, 0, false, {}, true},
    };
    Ref<MenuItem> item = add(u"a", u"Open");
    for (const Case& c : cases) {
        item->setNormalPictureIndex(c.normalPicture);
        item->setCheckedPictureIndex(c.checkedPicture);
        context.imageList = c.imageList;
        context.iconWidth = c.iconWidth;
        context.iconHeight = c.iconHeight;

        paint(ODS_SELECTED | (c.checked ? ODS_CHECKED : 0));

        const Calls images = painterCallsNamed({"SetDIBitsToDevice"});
        ASSERT_FALSE(images.empty()) << c.what;
        EXPECT_EQ(images[0].args[1], c.gradientLeft) << c.what;
        EXPECT_EQ(images[0].args[3], kRc.right - c.gradientLeft) << c.what;
        const bool frame = images.size() == 2 && images[1] == Call{"SetDIBitsToDevice", {kItemDC, 0, 40, 20, 20}} &&
                           platform.countOf("DrawEdge") == 1;
        EXPECT_EQ(frame, c.frame) << c.what;
        std::vector<long long> drawn;
        for (const Call& d : painterCallsNamed({"ImageList_Draw"})) {
            EXPECT_EQ(d.args[0], c.imageList) << c.what;
            EXPECT_EQ((std::vector<long long>{d.args[2], d.args[3], d.args[4]}), (std::vector<long long>{kItemDC, 2, 42}));
            drawn.push_back(d.args[1]);
        }
        EXPECT_EQ(drawn, c.picturesDrawn) << c.what;
        const Calls copies = painterCallsNamed({"StretchDIBits"});
        const bool whiteCheck = copies.size() == 1 && copies[0].args[7] == kMergePaint;
        EXPECT_EQ(whiteCheck, c.whiteCheck) << c.what;
        expectNothingLeft();
    }
}

TEST_F(PaintersTest, WhiteCheckIsTheGlyphInvertedAndOredInAtThePicturePosition) {
    add(u"a", u"Open");

    paint(ODS_SELECTED | ODS_CHECKED);

    // The whole glyph is OR-ed in inverted straight from the resource, over the gradient: no
    // bitmap or device context is made for it.
    EXPECT_EQ(painterCallsNamed({"SetDIBitsToDevice", "LoadBitmapW", "CreateCompatibleDC", "SelectObject",
                                 "StretchDIBits", "DeleteDC", "DeleteObject"}),
              (Calls{{"SetDIBitsToDevice", {kItemDC, 0, 40, 120, 20}},
                     {"StretchDIBits", {kItemDC, 2, 42, 16, 16, 0, 0, kMergePaint}}}));
    expectNothingLeft();
}

TEST_F(PaintersTest, CopiesStayInsideTheItemAndTheirSource) {
    add(u"a", u"Open", 3);
    struct Case {
        const char* what;
        std::uint32_t state;
        std::int32_t normalPicture;
        Rect rc;
        Calls copies;
    };
    const Case cases[] = {
        // The gradient is 20 rows high: the rest of a taller item keeps what it showed.
        {"taller selected item", ODS_SELECTED, -1, {0, 0, 120, 45}, {{"SetDIBitsToDevice", {kItemDC, 0, 0, 120, 20}}}},
        {"shorter selected item", ODS_SELECTED, -1, {0, 0, 120, 15}, {{"SetDIBitsToDevice", {kItemDC, 0, 0, 120, 15}}}},
        // Gradient width is right - inset, placed at left + inset: cut at the item's right edge.
        {"item not at the left edge", ODS_SELECTED, -1, {10, 0, 130, 20},
         {{"SetDIBitsToDevice", {kItemDC, 10, 0, 120, 20}}}},
        // The image column's frame spans the item's height, and stops at its right edge.
        {"framed picture in a tall item", ODS_SELECTED, 3, {0, 0, 120, 45},
         {{"SetDIBitsToDevice", {kItemDC, 21, 0, 99, 20}}, {"SetDIBitsToDevice", {kItemDC, 0, 0, 20, 45}}}},
        {"framed picture in a narrow item", ODS_SELECTED, 3, {0, 0, 12, 20},
         {{"SetDIBitsToDevice", {kItemDC, 0, 0, 12, 20}}}},
        // The embossed picture is 16 x 16: only that much is output.
        {"disabled picture", ODS_DISABLED, 3, {0, 40, 120, 60}, {{"SetDIBitsToDevice", {kItemDC, 1, 41, 16, 16}}}},
        {"disabled picture in a short item", ODS_DISABLED, 3, {0, 40, 120, 52},
         {{"SetDIBitsToDevice", {kItemDC, 1, 41, 16, 11}}}},
        // The glyph's top-left part, as much as fits in the item.
        {"black check in a short item", ODS_CHECKED, -1, {0, 40, 120, 54},
         {{"StretchDIBits", {kItemDC, 2, 42, 16, 12, 0, 0, SRCAND}}}},
        {"black check in a narrow item", ODS_CHECKED, -1, {0, 40, 10, 60},
         {{"StretchDIBits", {kItemDC, 2, 42, 8, 16, 0, 0, SRCAND}}}},
    };
    for (const Case& c : cases) {
        items->itemAt(1)->setNormalPictureIndex(c.normalPicture);
        paint(c.state, c.rc);
        EXPECT_EQ(painterCallsNamed({"SetDIBitsToDevice", "StretchDIBits"}), c.copies) << c.what;
        expectNothingLeft();
    }
}

TEST_F(PaintersTest, AGradientWithNoColumnsIsNotMade) {
    add(u"a", u"Open", 3);

    paint(ODS_SELECTED, {0, 0, 21, 20});  // w = right - inset = 0

    // Only the frame is output: no gradient.
    EXPECT_EQ(painterCallsNamed({"SetDIBitsToDevice"}), (Calls{{"SetDIBitsToDevice", {kItemDC, 0, 0, 20, 20}}}));
    expectNothingLeft();
}

TEST_F(PaintersTest, FrameAndEdgeFollowTheItemsLeftEdgeAndStayInsideIt) {
    add(u"a", u"Open", 3);

    paint(ODS_SELECTED, {30, 0, 150, 16});

    EXPECT_EQ(painterCallsNamed({"SetDIBitsToDevice", "DrawEdge", "ImageList_Draw"}),
              (Calls{{"SetDIBitsToDevice", {kItemDC, 51, 0, 99, 16}},
                     {"SetDIBitsToDevice", {kItemDC, 30, 0, 20, 16}},
                     {"DrawEdge", {kItemDC, 30, 0, 49, 16, BDR_RAISEDINNER, BF_RECT}},
                     {"ImageList_Draw", {kImageList, 3, kItemDC, 32, 2, ILD_TRANSPARENT}}}));
}

// --- PaintCheckedItem and PaintNormalItem ---

TEST_F(PaintersTest, CheckedItemIsMenuColouredWithABlackCheck) {
    add(u"a", u"Open");

    paint(ODS_CHECKED);

    const Handle pen = 0x3000, brush = 0x3001;
    EXPECT_EQ(painterCalls(), (Calls{{"GetSysColor", {COLOR_MENU}},
                                     {"CreatePen", {PS_SOLID, 1, kMenu}},
                                     {"CreateSolidBrush", {kMenu}},
                                     {"SelectObject", {kItemDC, pen}},
                                     {"SelectObject", {kItemDC, brush}},
                                     {"Rectangle", {kItemDC, 0, 40, 120, 60}},
                                     {"SelectObject", {kItemDC, kStockBrush}},
                                     {"SelectObject", {kItemDC, kStockPen}},
                                     {"DeleteObject", {brush}},
                                     {"DeleteObject", {pen}},
                                     {"StretchDIBits", {kItemDC, 2, 42, 16, 16, 0, 0, SRCAND}},
                                     {"GetSysColor", {COLOR_MENUTEXT}},
                                     {"SetTextColor", {kItemDC, kMenuText}}}));
    expectNothingLeft();
}

TEST_F(PaintersTest, PicturesOfCheckedAndNormalItems) {
    struct Case {
        const char* what;
        std::uint32_t state;
        Handle imageList;
        std::int32_t iconSize, normalPicture, checkedPicture;
        Calls drawn;  // image-list pictures and glyph copies
    };
    const Calls none;
    const Calls glyph{{"StretchDIBits", {kItemDC, 2, 42, 16, 16, 0, 0, SRCAND}}};
    const auto picture = [](Handle list, long long index) {
        return Calls{{"ImageList_Draw", {list, index, kItemDC, 2, 42, ILD_TRANSPARENT}}};
    };
    const Case cases[] = {
        {"normal picture", 0, kImageList, 16, 3, 5, picture(kImageList, 3)},
        // These paths hand the image list on as it is; a missing one draws nothing.
        {"normal picture, no image list", 0, 0, 16, 3, 5, picture(0, 3)},
        {"normal picture too large", 0, kImageList, 17, 3, 5, none},
        {"no normal picture", 0, kImageList, 16, -1, 5, none},
        {"checked picture", ODS_CHECKED, kImageList, 16, 3, 5, picture(kImageList, 5)},
        {"checked picture, no image list", ODS_CHECKED, 0, 16, 3, 5, picture(0, 5)},
        {"checked picture too large", ODS_CHECKED, kImageList, 32, 3, 5, none},
        {"black check", ODS_CHECKED, kImageList, 16, 3, -1, glyph},
        {"black check whatever the picture size", ODS_CHECKED, kImageList, 32, 3, -1, glyph},
    };
    Ref<MenuItem> item = add(u"a", u"Open");
    for (const Case& c : cases) {
        item->setNormalPictureIndex(c.normalPicture);
        item->setCheckedPictureIndex(c.checkedPicture);
        context.imageList = c.imageList;
        context.iconWidth = context.iconHeight = c.iconSize;
        paint(c.state);
        EXPECT_EQ(painterCallsNamed({"ImageList_Draw", "StretchDIBits"}), c.drawn) << c.what;
        EXPECT_EQ(painterCallsNamed({"Rectangle"}), (Calls{{"Rectangle", {kItemDC, 0, 40, 120, 60}}})) << c.what;
        expectNothingLeft();
    }
}

// --- PaintDisabledItem ---

TEST_F(PaintersTest, DisabledPictureIsEmbossedInMemoryAndOutputInOneCall) {
    add(u"a", u"Open", 3);

    paint(ODS_DISABLED);

    const Handle surfaceDC = 0x2000, surfaceBitmap = 0x3000;
    EXPECT_EQ(painterCalls(), (Calls{{"GetSysColor", {COLOR_GRAYTEXT}},
                                     {"GetSysColor", {COLOR_MENU}},
                                     {"CreateCompatibleDC", {0}},
                                     {"CreateDIBSection", {16, 16}},
                                     {"SelectObject", {surfaceDC, surfaceBitmap}},
                                     {"ImageList_Draw", {kImageList, 3, surfaceDC, 0, 0, ILD_TRANSPARENT}},
                                     {"GdiFlush"},
                                     {"DeleteDC", {surfaceDC}},
                                     {"DeleteObject", {surfaceBitmap}},
                                     {"SetDIBitsToDevice", {kItemDC, 1, 41, 16, 16}},
                                     {"SetTextColor", {kItemDC, kGrayText}},
                                     {"DrawTextW", {kItemDC, 4, 22, 42, 120, 60, 0}, u"Open"},
                                     {"SetTextColor", {kItemDC, 0xFFFFFF}}}));
    expectNothingLeft();
}

TEST_F(PaintersTest, DisabledPictureIsTheEmbossedImageOverTheMenuColour) {
    add(u"a", u"Open", 3);
    // The picture: one ink pixel at (4, 5), a light one at (9, 9), the rest left as the surface
    // was handed over (the menu colour).
    std::vector<std::uint32_t> handedOver;
    platform.onImageListDraw = [&](Handle dc, std::int32_t, std::int32_t, std::int32_t) {
        std::vector<std::uint32_t>& pixels = *platform.dibIn(dc);
        handedOver = pixels;
        pixels[5 * 16 + 4] = 0x123456;
        pixels[9 * 16 + 9] = 0xFFFFFF;
    };

    paint(ODS_DISABLED);

    EXPECT_EQ(handedOver, std::vector<std::uint32_t>(256, pixelOfColor(kMenu)));
    ASSERT_EQ(platform.imagesSetToDevice().size(), 1u);
    std::vector<std::uint32_t> expected(256, pixelOfColor(kMenu));
    expected[5 * 16 + 4] = pixelOfColor(kGrayText);
    expected[6 * 16 + 5] = 0xFFFFFF;
    expected[9 * 16 + 9] = pixelOfColor(kMenu);  // light: the shifted menu colour OR the menu colour
    EXPECT_EQ(platform.imagesSetToDevice()[0].pixels, expected);
}

TEST_F(PaintersTest, AnEmbossedPictureCutByTheItemKeepsItsPixelsInPlace) {
    add(u"a", u"Open", 3);
    // One ink pixel at (4, 5) of the picture: grey there, white at (5, 6).
    platform.onImageListDraw = [&](Handle dc, std::int32_t, std::int32_t, std::int32_t) {
        (*platform.dibIn(dc))[5 * 16 + 4] = 0x123456;
    };
    struct Case {
        const char* what;
        Rect rc;
        std::int32_t x, y, width, height;  // the part of the 16 x 16 picture at (left + 1, top + 1) inside the item
    };
    const Case cases[] = {
        {"whole", {0, 40, 120, 60}, 1, 41, 16, 16},
        {"short item", {0, 40, 120, 52}, 1, 41, 16, 11},
        {"narrow item", {0, 40, 10, 60}, 1, 41, 9, 16},
        {"narrow and short", {0, 40, 8, 48}, 1, 41, 7, 7},
    };
    for (const Case& c : cases) {
        paint(ODS_DISABLED, c.rc);
        ASSERT_EQ(platform.imagesSetToDevice().size(), 1u) << c.what;
        const ImageSetToDevice& image = platform.imagesSetToDevice()[0];
        EXPECT_EQ((std::vector<long long>{image.x, image.y, image.width, image.height}),
                  (std::vector<long long>{c.x, c.y, c.width, c.height}))
            << c.what;
        for (std::int32_t y = 0; y < image.height; ++y)
            for (std::int32_t x = 0; x < image.width; ++x) {
                ColorRef expected = kMenu;
                if (x == 4 && y == 5) expected = kGrayText;
                if (x == 5 && y == 6) expected = 0xFFFFFF;
                ASSERT_EQ(colorOfPixel(image.pixels[static_cast<std::size_t>(y) * image.width + x]), expected)
                    << c.what << " at " << x << "," << y;
            }
    }
}

TEST_F(PaintersTest, AnImplausiblyLargeItemGetsNoImagesAndStillItsLabel) {
    // A record from outside may name any rectangle; an image of its size is not made, as a surface
    // of that size could not be.
    add(u"a", u"Open", 3);
    const std::int32_t huge = 0x7FFFFFF0;

    paint(ODS_SELECTED, {0, 0, huge, huge});

    EXPECT_EQ(platform.countOf("SetDIBitsToDevice"), 0u);
    EXPECT_EQ(platform.countOf("DrawEdge"), 1u);
    EXPECT_EQ(platform.calls().back().name, "DrawTextW");
    expectNothingLeft();
}

TEST_F(PaintersTest, DisabledItemPictures) {
    struct Case {
        const char* what;
        std::uint32_t state;
        Handle imageList;
        std::int32_t iconSize, normalPicture, checkedPicture;
        Calls drawn;
    };
    const Calls none;
    const Case cases[] = {
        {"embossed normal picture", ODS_GRAYED, kImageList, 16, 3, 5,
         {{"ImageList_Draw", {kImageList, 3, 0x2000, 0, 0, ILD_TRANSPARENT}}, {"DeleteObject", {0x3000}}}},
        {"no image list: no normal picture", ODS_GRAYED, 0, 16, 3, 5, none},
        {"normal picture too large", ODS_GRAYED, kImageList, 17, 3, 5, none},
        {"checked picture in full colour", ODS_GRAYED | ODS_CHECKED, kImageList, 16, 3, 5,
         {{"ImageList_Draw", {kImageList, 5, kItemDC, 2, 42, ILD_TRANSPARENT}}}},
        {"checked picture, image list handed on", ODS_GRAYED | ODS_CHECKED, 0, 16, 3, 5,
         {{"ImageList_Draw", {0, 5, kItemDC, 2, 42, ILD_TRANSPARENT}}}},
        {"checked picture too large", ODS_GRAYED | ODS_CHECKED, kImageList, 32, 3, 5, none},
        {"embossed check", ODS_GRAYED | ODS_CHECKED, kImageList, 16, 3, -1,
         {{"LoadBitmapW"}, {"DrawStateW", {kItemDC, 0x3000, 2, 42, DST_BITMAP | DSS_DISABLED}}, {"DeleteObject", {0x3000}}}},
        {"embossed check whatever the picture size", ODS_GRAYED | ODS_CHECKED, kImageList, 32, 3, -1,
         {{"LoadBitmapW"}, {"DrawStateW", {kItemDC, 0x3000, 2, 42, DST_BITMAP | DSS_DISABLED}}, {"DeleteObject", {0x3000}}}},
    };
    for (const Case& c : cases) {
        RenderTestPlatform fresh;
        Ref<MenuItems> collection = makeRef<MenuItems>(fresh);
        Ref<MenuItem> entry = collection->Add(Value::string(u"a"), u"Open");
        entry->setNormalPictureIndex(c.normalPicture);
        entry->setCheckedPictureIndex(c.checkedPicture);
        const RenderContext ctx{fresh, kOwnerDC, collection.get(), c.imageList, c.iconSize, c.iconSize};
        DrawMenuItem(ctx, request(1, c.state));
        // The glyph is released right after it was drawn.
        EXPECT_EQ(fresh.callsNamed({"ImageList_Draw", "LoadBitmapW", "DrawStateW", "DeleteObject"}), c.drawn) << c.what;
        EXPECT_TRUE(fresh.liveGdiObjects().empty()) << c.what;
        EXPECT_TRUE(fresh.liveMemoryDCs().empty()) << c.what;
    }
}

// --- every painter ---

TEST_F(PaintersTest, EveryStateAndPictureLeavesNothingBehind) {
    Ref<MenuItem> item = add(u"a", u"Open");
    const std::uint32_t states[] = {0, ODS_CHECKED, ODS_SELECTED, ODS_SELECTED | ODS_CHECKED, ODS_GRAYED,
                                    ODS_DISABLED | ODS_CHECKED};
    const std::pair<std::int32_t, std::int32_t> pictures[] = {{-1, -1}, {3, -1}, {-1, 5}, {3, 5}};
    for (std::uint32_t state : states) {
        for (const auto& [normal, checked] : pictures) {
            for (std::int32_t size : {16, 32}) {
                item->setNormalPictureIndex(normal);
                item->setCheckedPictureIndex(checked);
                context.iconWidth = context.iconHeight = size;
                paint(state);
                SCOPED_TRACE(::testing::Message() << "state " << state << " pictures " << normal << "/" << checked
                                                  << " size " << size);
                expectNothingLeft();
                EXPECT_EQ(platform.calls().back().name, "DrawTextW");
            }
        }
    }
}

TEST_F(PaintersTest, ObjectsThatCannotBeMadeAreSkipped) {
    struct Case {
        const char* failing;
        std::uint32_t state;
        std::int32_t normalPicture;
        std::vector<std::string> absent;  // operations that must not run then
    };
    const Case cases[] = {
        {"CreateCompatibleDC", ODS_DISABLED, 3, {"CreateDIBSection", "ImageList_Draw", "SetDIBitsToDevice"}},
        {"CreateDIBSection", ODS_DISABLED, 3, {"ImageList_Draw", "GdiFlush", "SetDIBitsToDevice"}},
        {"SelectObject", ODS_DISABLED, 3, {"ImageList_Draw", "SetDIBitsToDevice"}},
        // A glyph that cannot be copied leaves the item without its check, and the label still comes.
        {"StretchDIBits", ODS_CHECKED, -1, {}},
        {"StretchDIBits", ODS_SELECTED | ODS_CHECKED, -1, {}},
        {"LoadBitmapW", ODS_DISABLED | ODS_CHECKED, -1, {"DrawStateW"}},
        {"CreatePen", 0, -1, {"Rectangle"}},
        {"CreateSolidBrush", ODS_CHECKED, -1, {"Rectangle"}},
    };
    for (const Case& c : cases) {
        RenderTestPlatform fresh;
        fresh.fail(c.failing);
        Ref<MenuItems> collection = makeRef<MenuItems>(fresh);
        collection->Add(Value::string(u"a"), u"Open")->setNormalPictureIndex(c.normalPicture);
        const RenderContext ctx{fresh, kOwnerDC, collection.get(), kImageList, 16, 16};
        DrawMenuItem(ctx, request(1, c.state));
        for (const std::string& op : c.absent) EXPECT_EQ(fresh.countOf(op), 0u) << c.failing << ": " << op;
        EXPECT_TRUE(fresh.liveGdiObjects().empty()) << c.failing;
        EXPECT_TRUE(fresh.liveMemoryDCs().empty()) << c.failing;
        EXPECT_TRUE(fresh.deletedWhileSelected().empty()) << c.failing;
        EXPECT_EQ(fresh.calls().back().name, "DrawTextW") << c.failing;  // the label is still drawn
    }
}

TEST_F(PaintersTest, AFailureMidwayStillReleasesEverything) {
    struct Case {
        const char* op;
        int nth;
        std::uint32_t state;
        std::int32_t normalPicture;
    };
    const Case cases[] = {
        {"SetDIBitsToDevice", 1, ODS_SELECTED, -1},      // the gradient
        {"StretchDIBits", 1, ODS_SELECTED | ODS_CHECKED, -1},  // the white check
        {"SetDIBitsToDevice", 2, ODS_SELECTED, 3},       // the frame
        {"ImageList_Draw", 1, ODS_SELECTED, 3},
        {"ImageList_Draw", 1, ODS_DISABLED, 3},          // into the embossing surface
        {"SetDIBitsToDevice", 1, ODS_DISABLED, 3},
        {"DrawStateW", 1, ODS_DISABLED | ODS_CHECKED, -1},
        {"DrawTextW", 1, ODS_DISABLED, -1},              // the grey label
        {"Rectangle", 1, ODS_CHECKED, -1},
        {"StretchDIBits", 1, ODS_CHECKED, -1},           // the black check
        {"DrawTextW", 1, 0, -1},                         // the label
    };
    for (const Case& c : cases) {
        RenderTestPlatform fresh;
        fresh.failOnCall(c.op, c.nth);
        Ref<MenuItems> collection = makeRef<MenuItems>(fresh);
        collection->Add(Value::string(u"a"), u"Open")->setNormalPictureIndex(c.normalPicture);
        const RenderContext ctx{fresh, kOwnerDC, collection.get(), kImageList, 16, 16};
        EXPECT_THROW(DrawMenuItem(ctx, request(1, c.state)), std::runtime_error) << c.op;
        EXPECT_TRUE(fresh.liveGdiObjects().empty()) << c.op;
        EXPECT_TRUE(fresh.liveMemoryDCs().empty()) << c.op;
        EXPECT_TRUE(fresh.deletedWhileSelected().empty()) << c.op;
        EXPECT_TRUE(fresh.selectedIn(kItemDC, 'p') == 0 || fresh.selectedIn(kItemDC, 'p') == kStockPen) << c.op;
        EXPECT_TRUE(fresh.selectedIn(kItemDC, 'r') == 0 || fresh.selectedIn(kItemDC, 'r') == kStockBrush) << c.op;
    }
}

}  // namespace
}  // namespace popupmenu::testing
