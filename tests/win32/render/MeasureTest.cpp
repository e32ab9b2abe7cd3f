// Measuring with the real DrawTextW: each item's size is its label's extent as DrawTextW with
// DT_CALCRECT alone calculates it in the measuring font (access letters processed, lines broken
// at line breaks only, nothing wrapped or cut), plus 30 pixels of width and 7 of height. A
// format flag of the wrong kind, a label that reaches the platform changed, or the wrong font
// gives another size here.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/MenuItems.h"
#include "model/Value.h"
#include "platform/Owned.h"
#include "platform/win32/Win32Platform.h"
#include "render/MeasuringFont.h"
#include "render/RenderContext.h"

namespace popupmenu::testing {
namespace {

// The label's extent as DrawTextW with DT_CALCRECT and `format` calculates it in `font`.
SIZE extentOf(HDC dc, HFONT font, const std::u16string& label, UINT format = 0) {
    const HGDIOBJ previous = SelectObject(dc, font);
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc, reinterpret_cast<LPCWSTR>(label.c_str()), static_cast<int>(label.size()), &rect,
              DT_CALCRECT | format);
    SelectObject(dc, previous);
    return {rect.right, rect.bottom};
}

TEST(RealMeasuring, AnItemMeasuresAsDrawTextCalculatesItsLabelInTheMeasuringFontPlusTheMargins) {
    Win32Platform platform;
    const OwnedGdiObject font = CreateMeasuringFont(platform);
    ASSERT_NE(font.get(), 0);
    const HFONT measuringFont = Win32Platform::native<HFONT>(font.get());
    // A memory DC's own font is the system font, not the menu font: a label measured in the
    // wrong font measures differently.
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(dc, nullptr);
    const HGDIOBJ ownFont = GetCurrentObject(dc, OBJ_FONT);
    ASSERT_NE(extentOf(dc, measuringFont, u"&File").cx, extentOf(dc, static_cast<HFONT>(ownFont), u"&File").cx);

    struct Case {
        const char* what;
        std::u16string label;
    };
    const Case cases[] = {
        {"an access letter", u"&File"},
        {"a doubled ampersand", u"A && B"},
        {"a label outside ASCII", u"Citt\u00E0 \u2013 \u00DCn\u00EFc\u00F8d\u00E9 \u0416\u0443\u043A \u03A9"},
        {"two lines", u"Recent\nfiles"},
        {"a long label", std::u16string(40, u'W') + u" and a long tail of words that nothing may wrap or cut"},
        {"an empty label", u""},
    };
    Ref<MenuItems> items = makeRef<MenuItems>(platform);
    std::vector<Ref<MenuItem>> added;
    for (const Case& c : cases) {
        const char16_t key[] = {u'k', static_cast<char16_t>(u'a' + added.size()), 0};
        added.push_back(items->Add(Value::string(key), c.label));
        ASSERT_TRUE(added.back()) << c.what;
    }

    const RenderContext context{platform, Win32Platform::portable(dc), items.get(), 0, 0, 0, font.get()};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        std::int32_t height = 20;
        const std::int32_t width = MeasureMenuItem(context, added[i]->ItemID(), height);
        const SIZE expected = extentOf(dc, measuringFont, c.label);
        EXPECT_EQ(width, expected.cx + 30) << c.what;
        EXPECT_EQ(height, expected.cy + 7) << c.what;
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), ownFont) << c.what << ": the DC did not get its own font back";
    }

    // What those extents hold, so that the comparison above cannot agree on a wrong rule.
    const auto extent = [&](const std::u16string& label, UINT format = 0) { return extentOf(dc, measuringFont, label, format); };
    EXPECT_EQ(extent(u"&File").cx, extent(u"File", DT_NOPREFIX).cx) << "an access letter's ampersand takes no width";
    EXPECT_EQ(extent(u"A && B").cx, extent(u"A & B", DT_NOPREFIX).cx) << "two ampersands show one";
    EXPECT_EQ(extent(u"Recent\nfiles").cy, 2 * extent(u"Recent").cy) << "a line break starts a second line";
    EXPECT_EQ(extent(cases[4].label).cy, extent(u"W").cy) << "a long label stays on one line";
    EXPECT_GT(extent(cases[4].label).cx, extent(std::u16string(40, u'W')).cx);
    EXPECT_EQ(extent(u"").cx, 0);
    DeleteDC(dc);
}

// A pop-up measures its labels on a memory DC made compatible with the owner window's DC, which
// holds the measuring font for the whole pop-up: every label must measure there exactly as on the
// window's own DC, or the menu would come out wider or narrower than before.
TEST(RealMeasuring, AMemoryDCCompatibleWithTheWindowsDCMeasuresAsTheWindowsDC) {
    Win32Platform platform;
    const OwnedGdiObject font = CreateMeasuringFont(platform);
    ASSERT_NE(font.get(), 0);
    const HFONT measuringFont = Win32Platform::native<HFONT>(font.get());
    const HWND window = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    const HDC windowDC = GetDC(window);
    const HDC memoryDC = CreateCompatibleDC(windowDC);
    ASSERT_NE(memoryDC, nullptr);
    const std::u16string labels[] = {
        u"&File", u"A && B", u"Item 4999 of the menu", u"Citt\u00E0 \u2013 \u00DCn\u00EFc\u00F8d\u00E9",
        u"Recent\nfiles", std::u16string(60, u'W'), u"",
    };
    for (const std::u16string& label : labels) {
        const SIZE onWindow = extentOf(windowDC, measuringFont, label);
        const SIZE onMemory = extentOf(memoryDC, measuringFont, label);
        EXPECT_EQ(onMemory.cx, onWindow.cx) << label.size() << " code units";
        EXPECT_EQ(onMemory.cy, onWindow.cy) << label.size() << " code units";
    }
    DeleteDC(memoryDC);
    ReleaseDC(window, windowDC);
    DestroyWindow(window);
}

}  // namespace
}  // namespace popupmenu::testing
