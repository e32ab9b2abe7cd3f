// The layout at DPIs above 96: the scaling rule, the glyph's nearest-neighbour rows and columns,
// and what every painter, the label and the measuring do at 120, 144 and 192 DPI.

#include <algorithm>
#include <set>

#include "platform/ScaledGlyph.h"
#include "render/Scale.h"
#include "tests/render/RenderTestSupport.h"

namespace popupmenu::testing {
namespace {

using namespace win;

constexpr std::uint32_t kMergePaint = 0x00BB0226;

TEST(Scaled, RoundsAsMulDivToTheNearestPixelWithHalvesAwayFromZero) {
    struct Case {
        std::int32_t size;
        std::uint32_t dpi;
        std::int32_t scaled;
    };
    const Case cases[] = {
        {20, 96, 20}, {20, 120, 25}, {20, 144, 30}, {20, 192, 40},
        {19, 144, 29},  // 28.5
        {3, 144, 5},    // 4.5
        {7, 120, 9},    // 8.75
        {1, 120, 1},    // 1.25
        {23, 120, 29},  // 28.75
        {-3, 144, -5},  // halves away from zero on both sides
        {0, 192, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(scaled(c.size, c.dpi), c.scaled) << c.size << " at " << c.dpi;
}

TEST(GlyphSourceIndex, EveryRowOfTheGlyphIsShownAndOnlyItsOwnRows) {
    for (std::int32_t size : {16, 20, 24, 32, 40}) {
        std::set<std::int32_t> shown;
        std::int32_t previous = 0;
        for (std::int32_t i = 0; i < size; ++i) {
            const std::int32_t source = glyphSourceIndex(i, size);
            ASSERT_GE(source, previous) << "size " << size << ", row " << i;
            ASSERT_LT(source, kCheckGlyphSize) << "size " << size << ", row " << i;
            shown.insert(source);
            previous = source;
        }
        EXPECT_EQ(shown.size(), static_cast<std::size_t>(kCheckGlyphSize)) << "size " << size;
    }
    for (std::int32_t i = 0; i < 16; ++i) EXPECT_EQ(glyphSourceIndex(i, 16), i);
    for (std::int32_t i = 0; i < 32; ++i) EXPECT_EQ(glyphSourceIndex(i, 32), i / 2);
}

// One DPI of the table below: the sizes every painter and the label use there.
struct Layout {
    std::uint32_t dpi;
    std::int32_t box;          // picture box and glyph: 16 at 96
    std::int32_t offset;       // picture position: 2 at 96
    std::int32_t inset;        // the gradient beside a framed picture: 21
    std::int32_t gradient;     // the gradient's height: 20
    std::int32_t frame, edge;  // the image column's width and its edge's: 20 and 19
    std::int32_t labelLeft, labelTop, labelHeight;  // 23, 3, 20
};
const Layout kLayouts[] = {
    {96, 16, 2, 21, 20, 20, 19, 23, 3, 20},
    {120, 20, 3, 26, 25, 25, 24, 29, 4, 25},
    {144, 24, 3, 32, 30, 30, 29, 35, 5, 30},
    {192, 32, 4, 42, 40, 40, 38, 46, 6, 40},
};

class DpiLayoutTest : public RenderTest {
protected:
    // A request for item 1 in a row tall enough for every DPI of the table.
    void paintAt(const Layout& layout, std::uint32_t state, std::int32_t icon = 16) {
        context.dpi = layout.dpi;
        context.iconWidth = context.iconHeight = icon;
        platform.clearCalls();
        DrawMenuItem(context, request(1, state, kRow));
    }
    Calls callsNamed(const std::set<std::string>& names) const { return platform.callsNamed(names); }

    static constexpr Rect kRow{0, 40, 200, 90};
};

TEST_F(DpiLayoutTest, SelectedItemWithAPictureAtEachDpi) {
    add(u"a", u"Open", 3);
    for (const Layout& l : kLayouts) {
        paintAt(l, ODS_SELECTED);
        EXPECT_EQ(callsNamed({"SetDIBitsToDevice", "DrawEdge", "ImageList_Draw", "DrawTextW"}),
                  (Calls{{"SetDIBitsToDevice", {kItemDC, l.inset, 40, 200 - l.inset, l.gradient}},
                         {"SetDIBitsToDevice", {kItemDC, 0, 40, l.frame, 50}},
                         {"DrawEdge", {kItemDC, 0, 40, l.edge, 40 + l.gradient, BDR_RAISEDINNER, BF_RECT}},
                         {"ImageList_Draw", {kImageList, 3, kItemDC, l.offset + (l.box - 16) / 2,
                                             40 + l.offset + (l.box - 16) / 2, ILD_TRANSPARENT}},
                         {"DrawTextW", {kItemDC, 4, l.labelLeft, 40 + l.labelTop, 200, 40 + l.labelTop + l.labelHeight, 0},
                          u"Open"}}))
            << l.dpi << " DPI";
        expectNothingLeft();
    }
}

TEST_F(DpiLayoutTest, TheCheckGlyphIsDrawnAtThePictureBoxSizeInEveryState) {
    add(u"a", u"Bold");
    for (const Layout& l : kLayouts) {
        // At 96 DPI the glyph is the resource's own: its size is no argument of the record.
        const auto sized = [&](std::vector<long long> args) {
            if (l.box != 16) args.push_back(l.box);
            return args;
        };
        paintAt(l, ODS_SELECTED | ODS_CHECKED);
        EXPECT_EQ(callsNamed({"StretchDIBits"}),
                  (Calls{{"StretchDIBits", sized({kItemDC, l.offset, 40 + l.offset, l.box, l.box, 0, 0, kMergePaint})}}))
            << l.dpi << " DPI, white";
        paintAt(l, ODS_CHECKED);
        EXPECT_EQ(callsNamed({"StretchDIBits"}),
                  (Calls{{"StretchDIBits", sized({kItemDC, l.offset, 40 + l.offset, l.box, l.box, 0, 0, SRCAND})}}))
            << l.dpi << " DPI, black";
        paintAt(l, ODS_DISABLED | ODS_CHECKED);
        EXPECT_EQ(callsNamed({"LoadBitmapW"}), (Calls{{"LoadBitmapW", sized({})}})) << l.dpi << " DPI, embossed";
        const Calls embossed = callsNamed({"DrawStateW"});
        ASSERT_EQ(embossed.size(), 1u);
        EXPECT_EQ(std::vector<long long>(embossed[0].args.begin() + 2, embossed[0].args.begin() + 4),
                  (std::vector<long long>{l.offset, 40 + l.offset}))
            << l.dpi << " DPI, embossed";
        expectNothingLeft();
    }
}

TEST_F(DpiLayoutTest, ADisabledPictureIsEmbossedOnASurfaceOfThePictureBoxAndItsLabelShadowedByOnePixel) {
    add(u"a", u"Open", 3);
    for (const Layout& l : kLayouts) {
        std::vector<std::int32_t> surfaceSize;
        Handle surface = 0;
        platform.onImageListDraw = [&](Handle dc, std::int32_t, std::int32_t, std::int32_t) {
            surface = dc;
            surfaceSize.push_back(static_cast<std::int32_t>(platform.dibIn(dc)->size()));
        };
        paintAt(l, ODS_DISABLED);
        const std::int32_t inBox = (l.box - 16) / 2;
        EXPECT_EQ(callsNamed({"CreateDIBSection", "ImageList_Draw", "SetDIBitsToDevice", "DrawTextW"}),
                  (Calls{{"CreateDIBSection", {l.box, l.box}},
                         {"ImageList_Draw", {kImageList, 3, surface, inBox, inBox, ILD_TRANSPARENT}},
                         {"SetDIBitsToDevice", {kItemDC, l.offset - 1, 40 + l.offset - 1, l.box, l.box}},
                         // grey, one pixel left of and above the white copy
                         {"DrawTextW", {kItemDC, 4, l.labelLeft - 1, 40 + l.labelTop - 1, 200, 90, 0}, u"Open"},
                         {"DrawTextW", {kItemDC, 4, l.labelLeft, 40 + l.labelTop, 200, 40 + l.labelTop + l.labelHeight, 0},
                          u"Open"}}))
            << l.dpi << " DPI";
        EXPECT_EQ(surfaceSize, (std::vector<std::int32_t>{l.box * l.box})) << l.dpi << " DPI";
        expectNothingLeft();
    }
}

// The image list's pictures: up to the box's size they are drawn, at their own size; a picture
// smaller than the box sits at the top-left of a 16-pixel area centred in it.
TEST_F(DpiLayoutTest, PicturesFitTheScaledBoxAndAreCentredInIt) {
    add(u"a", u"Open", 3);
    struct Case {
        std::uint32_t dpi;
        std::int32_t icon;
        bool drawn;
        std::int32_t at;  // x and y of the picture, from the item's corner
    };
    const Case cases[] = {
        {96, 16, true, 2},  {96, 12, true, 2},  {96, 24, false, 0},
        {144, 16, true, 7}, {144, 12, true, 7}, {144, 20, true, 5}, {144, 24, true, 3}, {144, 32, false, 0},
        {192, 32, true, 4}, {192, 16, true, 12},
    };
    for (const Case& c : cases) {
        const Layout layout{c.dpi, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        paintAt(layout, 0, c.icon);
        const Calls expected = c.drawn ? Calls{{"ImageList_Draw", {kImageList, 3, kItemDC, c.at, 40 + c.at, ILD_TRANSPARENT}}}
                                       : Calls{};
        EXPECT_EQ(callsNamed({"ImageList_Draw"}), expected) << c.dpi << " DPI, pictures of " << c.icon;
    }
}

TEST_F(DpiLayoutTest, MeasuredMarginsFollowTheDpi) {
    add(u"a", u"Open");
    for (const Layout& l : kLayouts) {
        context.dpi = l.dpi;
        std::int32_t height = 0;
        EXPECT_EQ(MeasureMenuItem(context, 1, height), 4 * RecordingPlatform::kCharWidth + scaled(30, l.dpi)) << l.dpi;
        EXPECT_EQ(height, std::max(RecordingPlatform::kLineHeight + scaled(7, l.dpi), l.gradient)) << l.dpi;
    }
}

// A menu font whose line falls short of the scaled image column: above 96 DPI the row still holds
// the whole gradient and glyph column; at 96 DPI the row is the label plus the margin, as ever.
TEST_F(DpiLayoutTest, AboveTheBaseDpiARowIsAtLeastAsHighAsTheImageColumn) {
    add(u"a", u"Open");
    struct Case {
        std::uint32_t dpi;
        std::int32_t line;    // the font's line, as the platform measures it
        std::int32_t height;  // the row
    };
    const Case cases[] = {
        {96, 10, 17},  {96, 13, 20},  {96, 16, 23},
        {192, 25, 40},  // Wine's line at 192 DPI: 25 + 14 would be 39
        {192, 26, 40}, {192, 30, 44}, {144, 19, 30}, {144, 20, 31}, {120, 10, 25},
    };
    for (const Case& c : cases) {
        context.dpi = c.dpi;
        platform.setLineHeight(c.line);
        std::int32_t height = 0;
        MeasureMenuItem(context, 1, height);
        EXPECT_EQ(height, c.height) << c.dpi << " DPI, a line of " << c.line;
    }
}

}  // namespace
}  // namespace popupmenu::testing
