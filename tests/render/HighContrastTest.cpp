// The painters under a high-contrast theme: system colours only, a flat highlight, one grey label
// for a disabled item, and the check glyph in the text colour of its row.

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <set>

#include "render/Pixels.h"
#include "tests/render/RenderTestSupport.h"

namespace popupmenu::testing {
namespace {

using namespace win;

constexpr Rect kTallRc{0, 40, 120, 70};  // taller than the 20 rows a gradient covers

class HighContrastTest : public RenderTest {
protected:
    HighContrastTest() { context.highContrast = true; }

    void paint(std::uint32_t state, Rect rc = kTallRc) {
        platform.clearCalls();
        DrawMenuItem(context, request(1, state, rc));
    }
};

// The calls of each painter, with the item's height beyond the gradient's 20 rows. The recording
// platform numbers GDI objects and memory DCs on from one paint to the next; `next` and `nextDC`
// are the numbers it gives next.
TEST_F(HighContrastTest, EachPainterDrawsWithSystemColoursOnly) {
    Handle next = 0x3000, nextDC = 0x2000;
    const auto menuBackground = [&] {
        const Handle pen = next++, brush = next++;
        return Calls{{"GetSysColor", {COLOR_MENU}},
                     {"CreatePen", {PS_SOLID, 1, kMenu}},
                     {"CreateSolidBrush", {kMenu}},
                     {"SelectObject", {kItemDC, pen}},
                     {"SelectObject", {kItemDC, brush}},
                     {"Rectangle", {kItemDC, 0, 40, 120, 70}},
                     {"SelectObject", {kItemDC, kStockBrush}},
                     {"SelectObject", {kItemDC, kStockPen}},
                     {"DeleteObject", {brush}},
                     {"DeleteObject", {pen}}};
    };
    // The check, copied from the resource into a 16 x 16 surface, recoloured in memory and output
    // into the item in one call.
    const auto checkIn = [&] {
        const Handle surfaceDC = nextDC++, surfaceBitmap = next++;
        return Calls{{"CreateCompatibleDC", {0}},
                     {"CreateDIBSection", {16, 16}},
                     {"SelectObject", {surfaceDC, surfaceBitmap}},
                     {"StretchDIBits", {surfaceDC, 0, 0, 16, 16, 0, 0, SRCCOPY}},
                     {"GdiFlush"},
                     {"DeleteDC", {surfaceDC}},
                     {"DeleteObject", {surfaceBitmap}},
                     {"SetDIBitsToDevice", {kItemDC, 2, 42, 16, 16}}};
    };
    const auto join = [](std::initializer_list<Calls> parts) {
        Calls all;
        for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const Calls highlightColours{{"GetSysColor", {COLOR_HIGHLIGHT}}, {"GetSysColor", {COLOR_MENU}}};
    const Calls flatHighlight{{"SetDIBitsToDevice", {kItemDC, 0, 40, 120, 30}}};
    const Calls highlightText{{"GetSysColor", {COLOR_HIGHLIGHTTEXT}}, {"SetTextColor", {kItemDC, kHighlightText}}};
    const Calls menuText{{"GetSysColor", {COLOR_MENUTEXT}}, {"SetTextColor", {kItemDC, kMenuText}}};
    const Calls grayText{{"GetSysColor", {COLOR_GRAYTEXT}}};
    const Calls leavesGrayText{{"SetTextColor", {kItemDC, kGrayText}}};

    struct Case {
        const char* what;
        std::uint32_t state;
        std::function<Calls()> calls;  // made just before the paint, in the order of the paints
    };
    const Case cases[] = {
        {"normal", 0, [&] { return join({menuBackground(), menuText}); }},
        {"checked: the check in the menu-text colour", ODS_CHECKED,
         [&] {
             return join({menuBackground(), {{"GetSysColor", {COLOR_MENUTEXT}}}, checkIn(), menuText});
         }},
        {"selected: one flat highlight down the whole item", ODS_SELECTED,
         [&] { return join({highlightColours, flatHighlight, highlightText}); }},
        {"selected and checked: the check in the highlight-text colour", ODS_SELECTED | ODS_CHECKED,
         [&] {
             return join({highlightColours, flatHighlight, {{"GetSysColor", {COLOR_HIGHLIGHTTEXT}}},
                          checkIn(), highlightText});
         }},
        {"disabled: menu colour and the grey-text colour for the one label", ODS_DISABLED,
         [&] { return join({grayText, menuBackground(), leavesGrayText}); }},
        {"disabled and checked: the check in the grey-text colour", ODS_DISABLED | ODS_CHECKED,
         [&] { return join({grayText, menuBackground(), checkIn(), leavesGrayText}); }},
    };
    add(u"a", u"&Open");
    for (const Case& c : cases) {
        const Calls expected = c.calls();
        paint(c.state);
        EXPECT_EQ(painterCalls(), expected) << c.what;
        expectNothingLeft();
    }
}

// The check's mark takes the text colour of its row, its ground the row's background.
TEST_F(HighContrastTest, TheCheckIsInTheTextColourOfItsRow) {
    // The glyph as the platform copies it: white ground, a black mark pixel at (5, 9).
    platform.onDrawCheckGlyph = [&](Handle dc) {
        std::vector<std::uint32_t>& pixels = *platform.dibIn(dc);
        std::fill(pixels.begin(), pixels.end(), 0xFFFFFF);
        pixels[9 * 16 + 5] = 0x000000;
    };
    struct Case {
        const char* what;
        std::uint32_t state;
        ColorRef mark, ground;
    };
    const Case cases[] = {
        {"checked", ODS_CHECKED, kMenuText, kMenu},
        {"selected", ODS_SELECTED | ODS_CHECKED, kHighlightText, kHighlight},
        {"disabled", ODS_DISABLED | ODS_CHECKED, kGrayText, kMenu},
    };
    add(u"a", u"Open");
    for (const Case& c : cases) {
        paint(c.state);
        ASSERT_FALSE(platform.imagesSetToDevice().empty()) << c.what;
        const ImageSetToDevice& check = platform.imagesSetToDevice().back();
        EXPECT_EQ(std::vector<int>({check.x, check.y, check.width, check.height}), std::vector<int>({2, 42, 16, 16}))
            << c.what;
        std::vector<std::uint32_t> expected(16 * 16, pixelOfColor(c.ground));
        expected[9 * 16 + 5] = pixelOfColor(c.mark);
        EXPECT_EQ(check.pixels, expected) << c.what;
    }

    // A glyph that cannot be copied draws nothing, rather than a square in the mark's colour.
    platform.setResult("StretchDIBits", 0);
    paint(ODS_CHECKED);
    EXPECT_TRUE(platform.imagesSetToDevice().empty());
    expectNothingLeft();
}

// Above 96 DPI the recoloured check is as large as the scaled picture box, at the box's place.
TEST_F(HighContrastTest, TheCheckFollowsTheDpi) {
    struct Case {
        std::uint32_t dpi;
        std::int32_t offset, size;
    };
    const Case cases[] = {{120, 3, 20}, {144, 3, 24}, {192, 4, 32}};
    add(u"a", u"Open");
    for (const Case& c : cases) {
        context.dpi = c.dpi;
        platform.onDrawCheckGlyph = [&](Handle dc) {
            std::vector<std::uint32_t>& pixels = *platform.dibIn(dc);
            std::fill(pixels.begin(), pixels.end(), 0xFFFFFF);
            pixels.back() = 0x000000;  // the mark's pixel in the glyph's last corner
        };
        paint(ODS_CHECKED, Rect{0, 40, 160, 40 + 2 * c.size});
        ASSERT_FALSE(platform.imagesSetToDevice().empty()) << c.dpi;
        const ImageSetToDevice& check = platform.imagesSetToDevice().back();
        EXPECT_EQ(std::vector<int>({check.x, check.y, check.width, check.height}),
                  std::vector<int>({c.offset, 40 + c.offset, c.size, c.size}))
            << c.dpi;
        std::vector<std::uint32_t> expected(static_cast<std::size_t>(c.size * c.size), pixelOfColor(kMenu));
        expected.back() = pixelOfColor(kMenuText);
        EXPECT_EQ(check.pixels, expected) << c.dpi;
        expectNothingLeft();
    }
}

TEST_F(HighContrastTest, TheSelectedRowIsOneFlatColourBesideThePicturesFrame) {
    add(u"a", u"Open", 3);

    paint(ODS_SELECTED);

    EXPECT_EQ(painterCalls(), (Calls{{"GetSysColor", {COLOR_HIGHLIGHT}},
                                     {"GetSysColor", {COLOR_MENU}},
                                     {"SetDIBitsToDevice", {kItemDC, 21, 40, 99, 30}},
                                     {"SetDIBitsToDevice", {kItemDC, 0, 40, 20, 30}},
                                     {"DrawEdge", {kItemDC, 0, 40, 19, 60, BDR_RAISEDINNER, BF_RECT}},
                                     {"ImageList_Draw", {kImageList, 3, kItemDC, 2, 42, ILD_TRANSPARENT}},
                                     {"GetSysColor", {COLOR_HIGHLIGHTTEXT}},
                                     {"SetTextColor", {kItemDC, kHighlightText}}}));
    ASSERT_EQ(platform.imagesSetToDevice().size(), 2u);
    EXPECT_EQ(platform.imagesSetToDevice()[0].pixels, std::vector<std::uint32_t>(99 * 30, pixelOfColor(kHighlight)));
    EXPECT_EQ(platform.imagesSetToDevice()[1].pixels, std::vector<std::uint32_t>(20 * 30, pixelOfColor(kMenu)));
    expectNothingLeft();
}

// At 144 DPI the flat highlight starts beside the scaled frame (30 columns and a gap: 32 in).
TEST_F(HighContrastTest, TheFlatHighlightStartsBesideTheScaledFrame) {
    add(u"a", u"Open", 3);
    context.dpi = 144;
    paint(ODS_SELECTED, Rect{0, 40, 160, 85});
    ASSERT_FALSE(platform.imagesSetToDevice().empty());
    const ImageSetToDevice& flat = platform.imagesSetToDevice().front();
    EXPECT_EQ(std::vector<int>({flat.x, flat.y, flat.width, flat.height}), std::vector<int>({32, 40, 128, 45}));
    EXPECT_EQ(flat.pixels, std::vector<std::uint32_t>(128 * 45, pixelOfColor(kHighlight)));
    expectNothingLeft();
}

// Every colour a painter or the label uses, in every state, with and without pictures, is one of
// the system colours; the label is drawn once, where every label goes. (The embossed picture of a
// disabled item is a picture, drawn as the system draws disabled ones, and is not looked at.)
TEST_F(HighContrastTest, EveryStateUsesSystemColoursAndDrawsOneLabel) {
    const std::set<ColorRef> systemColours{kMenu, kMenuText, kHighlight, kHighlightText, kGrayText};
    const std::uint32_t states[] = {0,
                                    ODS_CHECKED,
                                    ODS_SELECTED,
                                    ODS_SELECTED | ODS_CHECKED,
                                    ODS_DISABLED,
                                    ODS_DISABLED | ODS_CHECKED,
                                    ODS_SELECTED | ODS_GRAYED};
    struct Pictures {
        std::int32_t normal, checked;
    };
    const Pictures pictures[] = {{-1, -1}, {3, -1}, {3, 4}, {-1, 4}};
    for (const Pictures& p : pictures) {
        items->Clear();
        add(u"a", u"&Open", p.normal, p.checked);
        for (std::uint32_t state : states) {
            SCOPED_TRACE(::testing::Message() << "itemState 0x" << std::hex << state << std::dec << " pictures "
                                              << p.normal << ", " << p.checked);
            paint(state);
            for (const Call& c : platform.calls()) {
                if (c.name == "CreatePen") {
                    EXPECT_TRUE(systemColours.count(static_cast<ColorRef>(c.args[2])));
                } else if (c.name == "CreateSolidBrush" || c.name == "SetTextColor") {
                    EXPECT_TRUE(systemColours.count(static_cast<ColorRef>(c.args.back()))) << c.name;
                }
                // Only the system's own rendering of a disabled picture may emboss.
                if (c.name == "DrawStateW") ADD_FAILURE() << "an embossed check";
            }
            const bool inactive = (state & (ODS_DISABLED | ODS_GRAYED)) != 0;
            const bool embossedPicture = inactive && (state & ODS_CHECKED) == 0 && p.normal >= 0;
            for (const ImageSetToDevice& image : platform.imagesSetToDevice()) {
                if (embossedPicture && image.x == 1 && image.y == 41) continue;
                for (std::uint32_t pixel : image.pixels)
                    ASSERT_TRUE(systemColours.count(colorOfPixel(pixel))) << "pixel 0x" << std::hex << pixel;
            }
            const Calls labels = platform.callsNamed({"DrawTextW"});
            ASSERT_EQ(labels.size(), 1u);
            EXPECT_EQ(labels[0], (Call{"DrawTextW", {kItemDC, 5, 23, 43, 120, 63, 0}, u"&Open"}));
            expectNothingLeft();
        }
    }
}

}  // namespace
}  // namespace popupmenu::testing
