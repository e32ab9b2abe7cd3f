// Where the label lands, compared pixel for pixel with the text drawn directly where it belongs.

#include "tests/win32/render/PixelTestSupport.h"

namespace popupmenu::testing {
namespace {

class LabelPixelTest : public PixelTest {
protected:
    LabelPixelTest() {
        add(u"blank", u"");
        add(u"label", kLabel);
    }

    static constexpr const char16_t* kLabel = u"&Open\nSecond line";

    // Draws the label with DrawTextW in `color` into `rect` of `canvas`.
    static void text(Canvas& canvas, COLORREF color, RECT rect) {
        SetBkMode(canvas.dc(), TRANSPARENT);
        SetTextColor(canvas.dc(), color);
        DrawTextW(canvas.dc(), reinterpret_cast<const wchar_t*>(kLabel), -1, &rect, 0);
    }

    static int pixelsOf(const Canvas& canvas, COLORREF color) {
        int count = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) count += canvas.at(x, y) == color;
        return count;
    }
};

TEST_F(LabelPixelTest, EnabledLabelStartsAt23By3AndIsClippedTo20Rows) {
    const COLORREF textColor = RGB(0, 0, 0);
    for (RECT rc : {RECT{0, 0, 160, 20}, RECT{0, 12, 160, 57}}) {
        Canvas painted(160, 60), expected(160, 60);
        draw(painted, 2, 0, rc);
        draw(expected, 1, 0, rc);
        text(expected, textColor, {rc.left + 23, rc.top + 3, rc.right, rc.top + 23});

        EXPECT_TRUE(painted.samePixels(expected)) << "item top " << rc.top;
        EXPECT_GT(pixelsOf(painted, textColor), 20) << "the label shows";
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 160; ++x)
                if (painted.at(x, y) == textColor) {
                    ASSERT_TRUE(x >= rc.left + 23 && y >= rc.top + 3 && y < rc.top + 23) << x << "," << y;
                }
    }
}

TEST_F(LabelPixelTest, SelectedLabelIsInTheHighlightTextColour) {
    const RECT rc{0, 0, 160, 20};
    Canvas painted(160, 20), expected(160, 20);

    draw(painted, 2, ODS_SELECTED, rc);
    draw(expected, 1, ODS_SELECTED, rc);
    text(expected, platform.scheme.at(COLOR_HIGHLIGHTTEXT), {23, 3, 160, 23});

    EXPECT_TRUE(painted.samePixels(expected));
}

TEST_F(LabelPixelTest, DisabledLabelIsGreyWithAWhiteCopyOnePixelRightAndDown) {
    const RECT rc{0, 12, 160, 57};
    Canvas painted(160, 60), expected(160, 60);

    draw(painted, 2, ODS_GRAYED, rc);
    draw(expected, 1, ODS_GRAYED, rc);
    text(expected, platform.scheme.at(COLOR_GRAYTEXT), {22, 14, 160, 57});
    text(expected, RGB(255, 255, 255), {23, 15, 160, 35});

    EXPECT_TRUE(painted.samePixels(expected));
    EXPECT_GT(pixelsOf(painted, platform.scheme.at(COLOR_GRAYTEXT)), 10);
    EXPECT_GT(pixelsOf(painted, RGB(255, 255, 255)), 10);
}

TEST_F(LabelPixelTest, NoAcceleratorStateStillUnderlinesThePrefixedLetter) {
    add(u"unprefixed", u"Open\nSecond line");
    const RECT rc{0, 0, 160, 20};
    Canvas plain(160, 20), noAccel(160, 20), unprefixed(160, 20);

    draw(plain, 2, 0, rc);
    draw(noAccel, 2, ODS_NOACCEL, rc);
    draw(unprefixed, 3, 0, rc);

    EXPECT_TRUE(plain.samePixels(noAccel));
    EXPECT_FALSE(plain.samePixels(unprefixed)) << "the prefixed letter is underlined";
}

}  // namespace
}  // namespace popupmenu::testing
