// The CHECK resource and the three ways the painters draw it, with real GDI.

#include <cstring>
#include <functional>

#include "platform/ScaledGlyph.h"
#include "render/Gradient.h"
#include "render/Scale.h"
#include "tests/win32/render/PixelTestSupport.h"

namespace popupmenu::testing {
namespace {

using CheckGlyphPixelTest = PixelTest;

TEST(CheckResource, IsThe808ByteItalianBitmapOfTheMark) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceExW(module, RT_BITMAP, L"CHECK", MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN));
    ASSERT_NE(found, nullptr);
    ASSERT_EQ(SizeofResource(module, found), 808u);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(data, nullptr);

    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof header);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 16);
    EXPECT_EQ(header.biHeight, 16);  // rows stored bottom-up
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(header.biSizeImage, 768u);
    EXPECT_EQ(header.biXPelsPerMeter, 0);
    EXPECT_EQ(header.biYPelsPerMeter, 0);
    EXPECT_EQ(header.biClrUsed, 0u);
    EXPECT_EQ(header.biClrImportant, 0u);
    int black = 0;
    for (int y = 0; y < 16; ++y) {
        const BYTE* row = data + 40 + (15 - y) * 48;
        for (int x = 0; x < 16; ++x) {
            const BYTE expected = isMark(x, y) ? 0x00 : 0xFF;
            ASSERT_TRUE(row[3 * x] == expected && row[3 * x + 1] == expected && row[3 * x + 2] == expected)
                << x << "," << y;
            black += isMark(x, y);
        }
    }
    EXPECT_EQ(black, 56);
}

TEST_F(CheckGlyphPixelTest, SelectedItemShowsAWhiteMarkOverTheGradient) {
    add(u"a", u"");
    Canvas canvas(100, 20);

    draw(canvas, 1, ODS_SELECTED | ODS_CHECKED, {0, 0, 100, 20});

    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const COLORREF expected = isMark(x, y) ? RGB(255, 255, 255) : gradientColumnColor(highlight(), menu(), 2 + x, 100);
            ASSERT_EQ(Colour{canvas.at(2 + x, 2 + y)}, Colour{expected}) << x << "," << y;
        }
}

TEST_F(CheckGlyphPixelTest, CheckedItemShowsABlackMarkOverTheMenuColour) {
    add(u"a", u"");
    Canvas canvas(100, 20);

    draw(canvas, 1, ODS_CHECKED, {0, 0, 100, 20});

    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool mark = x >= 2 && y >= 2 && x < 18 && y < 18 && isMark(x - 2, y - 2);
            ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{mark ? RGB(0, 0, 0) : menu()}) << x << "," << y;
        }
}

// The glyph is read straight from the resource, whose rows are stored bottom-up: a mark cut by
// a short or narrow item must still show its top-left part, not its bottom rows.
TEST_F(CheckGlyphPixelTest, AMarkCutByTheItemShowsItsTopLeftPart) {
    add(u"a", u"");
    struct Case {
        const char* what;
        UINT state;
        RECT rcItem;
        COLORREF mark;
    };
    const Case cases[] = {
        {"short checked item", ODS_CHECKED, {0, 0, 40, 14}, RGB(0, 0, 0)},
        {"narrow checked item", ODS_CHECKED, {0, 0, 10, 24}, RGB(0, 0, 0)},
        {"short selected item", ODS_SELECTED | ODS_CHECKED, {0, 0, 40, 11}, RGB(255, 255, 255)},
    };
    for (const Case& c : cases) {
        Canvas canvas(40, 24);
        draw(canvas, 1, c.state, c.rcItem);
        int marked = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 40; ++x) {
                const bool inside = x < c.rcItem.right && y < c.rcItem.bottom;
                const bool mark = inside && x >= 2 && y >= 2 && x < 18 && y < 18 && isMark(x - 2, y - 2);
                marked += mark;
                if (!inside)
                    ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{kUntouched}) << c.what << ": " << x << "," << y;
                else if (mark)
                    ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{c.mark}) << c.what << ": " << x << "," << y;
                else
                    ASSERT_NE(Colour{canvas.at(x, y)}, Colour{c.mark}) << c.what << ": " << x << "," << y;
            }
        EXPECT_GT(marked, 0) << c.what;
    }
}

TEST_F(CheckGlyphPixelTest, DisabledItemShowsTheMarkEmbossed) {
    add(u"a", u"");
    Canvas canvas(40, 24);

    draw(canvas, 1, ODS_DISABLED | ODS_CHECKED, {0, 0, 40, 24});

    // The platform's disabled style: the mark in the 3-D shadow colour with a copy in the 3-D
    // highlight colour one pixel right and down, over an item that is otherwise left as it was.
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW), light = GetSysColor(COLOR_3DHILIGHT);
    int marked = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) {
            const auto markAt = [](int gx, int gy) { return gx >= 0 && gy >= 0 && gx < 16 && gy < 16 && isMark(gx, gy); };
            const COLORREF expected = markAt(x - 2, y - 2) ? shadow : markAt(x - 3, y - 3) ? light : kUntouched;
            marked += markAt(x - 2, y - 2);
            ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{expected}) << x << "," << y;
        }
    EXPECT_EQ(marked, 56);
}

// Above 96 DPI the glyph is shown at the picture box's size (24 x 24 at 144 DPI), each pixel the
// glyph's own under its centre: the white and the black mark in exactly two colours, the embossed
// one in the platform's two disabled colours, nothing blended.
TEST_F(CheckGlyphPixelTest, AtHigherDpisTheMarkIsScaledByNearestNeighbourInTwoColours) {
    add(u"a", u"");
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW), light = GetSysColor(COLOR_3DHILIGHT);
    for (const std::uint32_t dpi : {120u, 144u, 192u}) {
        context.dpi = dpi;
        const int size = scaled(16, dpi), offset = scaled(2, dpi);
        const auto markAt = [&](int x, int y) {
            const int gx = x - offset, gy = y - offset;
            return gx >= 0 && gy >= 0 && gx < size && gy < size && isMark(glyphSourceIndex(gx, size), glyphSourceIndex(gy, size));
        };
        const int row = scaled(20, dpi);
        struct Case {
            const char* what;
            UINT state;
            std::function<COLORREF(int x, int y)> expected;
        };
        const Case cases[] = {
            {"white", ODS_SELECTED | ODS_CHECKED,
             [&](int x, int y) {
                 return markAt(x, y) ? RGB(255, 255, 255) : gradientColumnColor(highlight(), menu(), x, 100);
             }},
            {"black", ODS_CHECKED, [&](int x, int y) { return markAt(x, y) ? RGB(0, 0, 0) : menu(); }},
            {"embossed", ODS_DISABLED | ODS_CHECKED,
             [&](int x, int y) { return markAt(x, y) ? shadow : markAt(x - 1, y - 1) ? light : kUntouched; }},
        };
        for (const Case& c : cases) {
            Canvas canvas(100, row);
            draw(canvas, 1, c.state, {0, 0, 100, row});
            // The label column and the gradient's far end are left out: only the image column.
            for (int y = 0; y < row; ++y)
                for (int x = 0; x < offset + size + 1; ++x)
                    ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{c.expected(x, y)})
                        << dpi << " DPI, " << c.what << ": " << x << "," << y;
        }
    }
}

TEST_F(CheckGlyphPixelTest, UncheckedItemsNeverShowTheMark) {
    add(u"a", u"");
    struct Case {
        UINT state;
        std::function<COLORREF(int x)> background;  // what column x of the glyph area shows
    };
    const Case cases[] = {
        {0, [&](int) { return menu(); }},
        {ODS_SELECTED, [&](int x) { return gradientColumnColor(highlight(), menu(), x, 40); }},
        {ODS_GRAYED, [](int) { return kUntouched; }},
    };
    for (const Case& c : cases) {
        Canvas canvas(40, 20);
        draw(canvas, 1, c.state, {0, 0, 40, 20});
        for (int y = 2; y < 18; ++y)
            for (int x = 2; x < 18; ++x)
                ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{c.background(x)}) << c.state << ": " << x << "," << y;
    }
}

}  // namespace
}  // namespace popupmenu::testing
