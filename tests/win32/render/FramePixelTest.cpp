// The image column of a selected item with a picture: menu colour, raised edge, picture, and the
// gradient beside it.

#include "render/Gradient.h"
#include "tests/win32/render/PixelTestSupport.h"

namespace popupmenu::testing {
namespace {

using FramePixelTest = PixelTest;

TEST_F(FramePixelTest, SelectedItemWithAPictureIsFramedAndTheGradientStartsAtColumn21) {
    PictureList pictures;
    const COLORREF red = RGB(200, 0, 0);
    const int index = pictures.add([&](int, int) { return red; });
    useImageList(pictures);
    add(u"a", u"", index);
    Canvas canvas(124, 24);

    // 24 rows: taller than the 20-row gradient and edge.
    draw(canvas, 1, ODS_SELECTED, {0, 0, 120, 24});

    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 124; ++x) {
            COLORREF expected;
            if (x >= 2 && x < 18 && y >= 2 && y < 18)
                expected = red;  // the picture
            else if (x < 19 && y < 20 && (x == 18 || y == 19))
                expected = shadow;  // the edge's right and bottom sides
            else if (x < 19 && y < 20 && (x == 0 || y == 0))
                expected = light;  // its left and top sides
            else if (x < 20)
                expected = menu();  // the image column, the item's full height
            else if (x >= 21 && x < 120 && y < 20)
                expected = gradientColumnColor(highlight(), menu(), x - 21, 99);
            else
                expected = kUntouched;  // column 20, the rows below the gradient, outside the item
            ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{expected}) << x << "," << y;
        }
    }
}

TEST_F(FramePixelTest, LargePicturesAreNeverDrawnAndLeaveNoFrame) {
    PictureList pictures(32);
    const int index = pictures.add([](int, int) { return RGB(200, 0, 0); });
    useImageList(pictures, 32);
    add(u"a", u"", index);
    Canvas canvas(100, 20);

    draw(canvas, 1, ODS_SELECTED, {0, 0, 100, 20});

    for (int x = 0; x < 100; ++x)
        ASSERT_EQ(Colour{canvas.at(x, 10)}, Colour{gradientColumnColor(highlight(), menu(), x, 100)}) << x;
}

TEST_F(FramePixelTest, NormalItemShowsItsPictureOverTheMenuColour) {
    PictureList pictures;
    const int index = pictures.add([](int x, int y) { return RGB(x * 10, y * 10, 77); });
    useImageList(pictures);
    add(u"a", u"", index);
    Canvas canvas(60, 24);

    draw(canvas, 1, 0, {0, 0, 60, 22});

    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x) {
            COLORREF expected = y < 22 ? menu() : kUntouched;
            if (x >= 2 && x < 18 && y >= 2 && y < 18) expected = RGB((x - 2) * 10, (y - 2) * 10, 77);
            ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{expected}) << x << "," << y;
        }
}

// At 144 DPI the picture box is 24 x 24 at (3, 3): a 24 x 24 list fills it, a 16 x 16 one is drawn
// at its own size in the box's middle, at (7, 7); either way pixel for pixel, never stretched.
// Selected, the frame is the scaled column (30 wide, its edge 29 x 30) and the gradient starts at
// column 32.
TEST_F(FramePixelTest, At144DpiPicturesAreDrawnAtTheirOwnSizeInTheScaledFrame) {
    struct Case {
        int size;
        int at;
    };
    for (const Case c : {Case{24, 3}, Case{16, 7}}) {
        PictureList pictures(c.size);
        const int index = pictures.add([](int x, int y) { return RGB(x * 10, y * 10, 77); });
        useImageList(pictures, c.size);
        context.dpi = 144;
        add(u"a", u"", index);
        Canvas canvas(124, 34);

        draw(canvas, 1, ODS_SELECTED, {0, 0, 120, 34});

        const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
        for (int y = 0; y < 34; ++y) {
            for (int x = 0; x < 124; ++x) {
                COLORREF expected;
                if (x >= c.at && x < c.at + c.size && y >= c.at && y < c.at + c.size)
                    expected = RGB((x - c.at) * 10, (y - c.at) * 10, 77);  // the picture
                else if (x < 29 && y < 30 && (x == 28 || y == 29))
                    expected = shadow;
                else if (x < 29 && y < 30 && (x == 0 || y == 0))
                    expected = light;
                else if (x < 30)
                    expected = menu();
                else if (x >= 32 && x < 120 && y < 30)
                    expected = gradientColumnColor(highlight(), menu(), x - 32, 88);
                else
                    expected = kUntouched;
                ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{expected}) << c.size << ": " << x << "," << y;
            }
        }
        items->Clear();
    }
}

}  // namespace
}  // namespace popupmenu::testing
