// The embossed picture of a disabled item, from a real image list through real GDI.

#include "tests/win32/render/PixelTestSupport.h"

namespace popupmenu::testing {
namespace {

using DisabledPixelTest = PixelTest;

constexpr COLORREF kWhite = RGB(255, 255, 255);

TEST_F(DisabledPixelTest, PixelClassesOfTheEmbossedPicture) {
    PictureList pictures;
    // Over the menu colour: 0xFFFFF0 (red 240, ink), 0xFFFFF1 (red 241, light), a single black
    // ink pixel, and ink in the last column.
    const int index = pictures.add([&](int x, int y) -> COLORREF {
        if (x == 3 && y == 3) return 0xFFFFF0;
        if (x == 8 && y == 8) return 0xFFFFF1;
        if (x == 12 && y == 4) return RGB(0, 0, 0);
        if (x == 15 && y == 10) return RGB(0, 0, 0);
        return menu();
    });
    ASSERT_GE(index, 0);
    useImageList(pictures);
    add(u"a", u"", index);
    Canvas canvas(40, 24);

    draw(canvas, 1, ODS_GRAYED, {0, 0, 40, 24});

    // The picture is copied to (1, 1). Ink turns grey with a white pixel right and below; light
    // and menu-coloured pixels show the menu colour.
    const std::map<std::pair<int, int>, COLORREF> special = {
        {{3, 3}, platform.scheme.at(COLOR_GRAYTEXT)},  {{4, 4}, kWhite},
        {{12, 4}, platform.scheme.at(COLOR_GRAYTEXT)}, {{13, 5}, kWhite},
        {{15, 10}, platform.scheme.at(COLOR_GRAYTEXT)}, {{8, 8}, menu()},
    };
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) {
            const int px = x - 1, py = y - 1;  // position in the picture
            COLORREF expected = kUntouched;   // a disabled item paints no background
            if (px >= 0 && py >= 0 && px < 16 && py < 16) {
                auto it = special.find({px, py});
                expected = it != special.end() ? it->second : menu();
            }
            ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{expected}) << x << "," << y;
        }
    // The white pixel the last column's ink would throw beyond the 16 x 16 surface is not there:
    // only the surface is copied, and the rest of the picture area keeps what it showed.
    EXPECT_EQ(Colour{canvas.at(1 + 16, 1 + 11)}, Colour{kUntouched});
}

TEST_F(DisabledPixelTest, OnAWhiteMenuWhiteIsLightAndOnlyInkStandsOut) {
    platform.scheme[COLOR_MENU] = kWhite;
    PictureList pictures;
    const int index = pictures.add([](int x, int y) { return x == 5 && y == 5 ? RGB(32, 32, 32) : RGB(255, 255, 255); });
    useImageList(pictures);
    add(u"a", u"", index);
    Canvas canvas(40, 24);

    draw(canvas, 1, ODS_DISABLED, {0, 0, 40, 24});

    for (int y = 1; y < 17; ++y)
        for (int x = 1; x < 17; ++x) {
            const COLORREF expected = (x == 6 && y == 6) ? platform.scheme.at(COLOR_GRAYTEXT) : kWhite;
            ASSERT_EQ(Colour{canvas.at(x, y)}, Colour{expected}) << x << "," << y;
        }
}

TEST_F(DisabledPixelTest, ACheckedPictureIsDrawnInFullColour) {
    PictureList pictures;
    pictures.add([](int, int) { return RGB(1, 2, 3); });
    const int checked = pictures.add([](int x, int) { return x < 8 ? RGB(200, 10, 10) : RGB(10, 10, 200); });
    useImageList(pictures);
    add(u"a", u"", 0, checked);
    Canvas canvas(40, 24);

    draw(canvas, 1, ODS_DISABLED | ODS_CHECKED, {0, 0, 40, 24});

    EXPECT_EQ(Colour{canvas.at(2, 2)}, Colour{RGB(200, 10, 10)});
    EXPECT_EQ(Colour{canvas.at(17, 17)}, Colour{RGB(10, 10, 200)});
    EXPECT_EQ(Colour{canvas.at(1, 1)}, Colour{kUntouched});
    EXPECT_EQ(Colour{canvas.at(18, 18)}, Colour{kUntouched});
}

}  // namespace
}  // namespace popupmenu::testing
