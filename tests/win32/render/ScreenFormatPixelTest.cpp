// The images the painters compose in memory reach a bitmap in the screen's own format exactly as
// they reach a 32-bit DIB section: the same items drawn into both show the same pixels.

#include "tests/win32/render/PixelTestSupport.h"

namespace popupmenu::testing {
namespace {

// A bitmap compatible with the screen, selected into a memory DC and filled with kUntouched.
class ScreenBitmap {
public:
    ScreenBitmap(int width, int height) {
        HDC screen = GetDC(nullptr);
        bitsPerPixel_ = GetDeviceCaps(screen, BITSPIXEL);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        previous_ = SelectObject(dc_, bitmap_);
        HBRUSH untouched = CreateSolidBrush(kUntouched);
        const RECT all{0, 0, width, height};
        FillRect(dc_, &all, untouched);
        DeleteObject(untouched);
    }
    ScreenBitmap(const ScreenBitmap&) = delete;
    ScreenBitmap& operator=(const ScreenBitmap&) = delete;
    ~ScreenBitmap() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }

    HDC dc() const { return dc_; }
    bool ready() const { return bitmap_ != nullptr && previous_ != nullptr; }
    int bitsPerPixel() const { return bitsPerPixel_; }

private:
    int bitsPerPixel_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

using ScreenFormatPixelTest = PixelTest;

TEST_F(ScreenFormatPixelTest, GradientFrameAndEmbossedPictureMatchTheDibSectionPixelForPixel) {
    PictureList pictures;
    const int index = pictures.add([](int x, int y) { return (x + y) % 5 == 0 ? RGB(20, 40, 60) : RGB(212, 208, 200); });
    useImageList(pictures);
    add(u"a", u"", index);
    constexpr int kWidth = 140, kHeight = 60;
    const RECT selected{0, 0, 130, 24}, disabled{0, 30, 130, 54};

    ScreenBitmap screen(kWidth, kHeight);
    ASSERT_TRUE(screen.ready());
    // Fewer than 24 bits per pixel cannot hold the colours exactly, whatever draws them.
    if (screen.bitsPerPixel() < 24) GTEST_SKIP() << "the screen has " << screen.bitsPerPixel() << " bits per pixel";
    Canvas dib(kWidth, kHeight);
    for (HDC dc : {screen.dc(), dib.dc()}) {
        draw(dc, 1, ODS_SELECTED, selected);
        draw(dc, 1, ODS_DISABLED, disabled);
    }

    GdiFlush();
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(Colour{GetPixel(screen.dc(), x, y)}, Colour{dib.at(x, y)}) << x << "," << y;
}

}  // namespace
}  // namespace popupmenu::testing
