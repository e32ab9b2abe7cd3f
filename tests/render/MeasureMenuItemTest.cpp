#include <algorithm>
#include <cstring>

#include "render/MeasureStamps.h"
#include "render/MeasuringFont.h"
#include "tests/render/RenderTestSupport.h"

namespace popupmenu::testing {
namespace {

// The measuring font the pop-up hands over; it belongs to the pop-up, not to the request.
constexpr Handle kMeasuringFont = 0x5200;

class MeasureMenuItemTest : public RenderTest {
protected:
    MeasureMenuItemTest() { context.measuringFont = kMeasuringFont; }
};

constexpr std::int32_t kChar = RecordingPlatform::kCharWidth;
constexpr std::int32_t kLine = RecordingPlatform::kLineHeight;

TEST_F(MeasureMenuItemTest, MeasuresTheLabelInTheMeasuringFontAndPutsTheOwnerFontBack) {
    add(u"a", u"First");
    add(u"b", u"Open");
    std::int32_t height = 20;

    EXPECT_EQ(MeasureMenuItem(context, 2, height), 4 * kChar + 30);
    EXPECT_EQ(height, kLine + 7);

    // The font is the pop-up's: selected and put back, never deleted here.
    EXPECT_EQ(platform.calls(), (Calls{{"SelectObject", {kOwnerDC, kMeasuringFont}},
                                       {"DrawTextW", {kOwnerDC, 4, 0, 0, 0, 0, 0x400}, u"Open"},
                                       {"SelectObject", {kOwnerDC, kStockFont}}}));
    expectNothingLeft();
}

TEST_F(MeasureMenuItemTest, TheMeasuringFontIsMadeFromTheSystemMenuFont) {
    const OwnedGdiObject font = CreateMeasuringFont(platform);

    EXPECT_EQ(platform.calls(), (Calls{{"SystemParametersInfoA", {41, 340, 0}}, {"CreateFontIndirectA"}}));
    EXPECT_EQ(font.get(), 0x3000);
    EXPECT_EQ(platform.liveGdiObjects(), (std::set<Handle>{0x3000}));
}

TEST_F(MeasureMenuItemTest, TheFontTakesOnlyFaceHeightAndWeightFromTheMenuFont) {
    LogFontA menuFont;
    menuFont.lfHeight = -15;
    menuFont.lfWidth = 6;
    menuFont.lfEscapement = 900;
    menuFont.lfOrientation = 900;
    menuFont.lfWeight = 700;
    menuFont.lfItalic = 1;
    menuFont.lfUnderline = 1;
    menuFont.lfStrikeOut = 1;
    menuFont.lfCharSet = 0x80;
    menuFont.lfOutPrecision = 3;
    menuFont.lfClipPrecision = 2;
    menuFont.lfQuality = 5;
    menuFont.lfPitchAndFamily = 0x22;
    std::strcpy(menuFont.lfFaceName.data(), "Segoe UI");
    platform.setMenuFont(menuFont);

    const OwnedGdiObject font = CreateMeasuringFont(platform);

    ASSERT_EQ(platform.fontsCreated().size(), 1u);
    LogFontA expected;
    expected.lfHeight = -15;
    expected.lfWeight = 700;
    expected.lfFaceName = menuFont.lfFaceName;
    EXPECT_EQ(std::memcmp(&platform.fontsCreated()[0], &expected, sizeof expected), 0);
}

TEST_F(MeasureMenuItemTest, WithoutSystemMetricsTheFontIsMadeFromAnEmptyDescription) {
    platform.fail("SystemParametersInfoA");

    const OwnedGdiObject font = CreateMeasuringFont(platform);

    EXPECT_TRUE(font);
    ASSERT_EQ(platform.fontsCreated().size(), 1u);
    const LogFontA empty;
    EXPECT_EQ(std::memcmp(&platform.fontsCreated()[0], &empty, sizeof empty), 0);
}

TEST_F(MeasureMenuItemTest, SizeIsTheLabelsExtentPlusMargins) {
    struct Case {
        std::u16string label;
        std::int32_t width, height;
    };
    const Case cases[] = {
        {u"", 30, kLine + 7},
        {u"Open", 4 * kChar + 30, kLine + 7},
        {u"One\r\nTwo lines", 9 * kChar + 30, 2 * kLine + 7},
        {u"a\nb\rc", 1 * kChar + 30, 3 * kLine + 7},
        {u"&File", 4 * kChar + 30, kLine + 7},  // a single ampersand takes no room
        {u"Fish && Chips", 12 * kChar + 30, kLine + 7},  // a doubled one shows once
    };
    for (const Case& c : cases) {
        RecordingPlatform fresh;
        Ref<MenuItems> collection = makeRef<MenuItems>(fresh);
        collection->Add(Value::string(u"k"), c.label);
        const RenderContext ctx{fresh, kOwnerDC, collection.get(), 0, 0, 0, kMeasuringFont};
        std::int32_t height = 20;
        EXPECT_EQ(MeasureMenuItem(ctx, 1, height), c.width) << toUtf8(c.label);
        EXPECT_EQ(height, c.height) << toUtf8(c.label);
    }
}

TEST_F(MeasureMenuItemTest, TheCountIsInUtf16CodeUnits) {
    const std::u16string label = u"Caf\u00e9 \U0001F600";  // six characters, seven code units
    add(u"a", label);
    std::int32_t height = 20;

    MeasureMenuItem(context, 1, height);

    const Calls text = platform.callsNamed({"DrawTextW"});
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].args[1], 7);
    EXPECT_EQ(text[0].text, label);
}

TEST_F(MeasureMenuItemTest, UnknownIdentifierOrNoCollectionAnswersZeroAndKeepsTheHeight) {
    add(u"a", u"Open");
    RenderContext noCollection = context;
    noCollection.items = nullptr;
    for (const RenderContext* ctx : {&context, &noCollection}) {
        platform.clearCalls();
        std::int32_t height = 20;
        EXPECT_EQ(MeasureMenuItem(*ctx, 7, height), 0);
        EXPECT_EQ(height, 20);
        EXPECT_EQ(platform.countOf("DrawTextW"), 0u);
        expectNothingLeft();
    }
}

TEST_F(MeasureMenuItemTest, FindsASubmenuItemByItsMenuHandle) {
    add(u"a", u"First");
    add(u"b", u"More");
    const std::int32_t submenu = -0x7FF0;  // handles are sign-extended 32-bit values
    items->setItemID(2, submenu);
    std::int32_t height = 20;

    EXPECT_EQ(MeasureMenuItem(context, submenu, height), 4 * kChar + 30);
    EXPECT_EQ(platform.callsNamed({"DrawTextW"}).at(0).text, u"More");
}

TEST_F(MeasureMenuItemTest, WithoutAMeasuringFontTheLabelIsMeasuredInTheOwnersFont) {
    // What a pop-up whose font could not be made hands over.
    platform.fail("CreateFontIndirectA");
    EXPECT_FALSE(CreateMeasuringFont(platform));
    context.measuringFont = 0;
    add(u"a", u"Open");
    std::int32_t height = 20;

    EXPECT_EQ(MeasureMenuItem(context, 1, height), 4 * kChar + 30);

    EXPECT_EQ(platform.countOf("SelectObject"), 0u);
    EXPECT_EQ(platform.countOf("DrawTextW"), 1u);
}

TEST_F(MeasureMenuItemTest, AFailureWhileMeasuringStillPutsTheOwnerFontBack) {
    platform.failOnCall("DrawTextW");
    add(u"a", u"Open");
    std::int32_t height = 20;

    EXPECT_THROW(MeasureMenuItem(context, 1, height), std::runtime_error);

    EXPECT_EQ(height, 20);
    EXPECT_EQ(platform.callsNamed({"SelectObject", "DeleteObject"}),
              (Calls{{"SelectObject", {kOwnerDC, kMeasuringFont}}, {"SelectObject", {kOwnerDC, kStockFont}}}));
    expectNothingLeft();
}

// A size is answered from the item only under the stamp it was measured in: the same measuring font
// description at the same DPI, with no setting change announced in between.
TEST_F(MeasureMenuItemTest, AKeptSizeIsUsedOnlyForTheSameFontAndDpi) {
    LogFontA tahoma;
    tahoma.lfHeight = -11;
    std::strcpy(tahoma.lfFaceName.data(), "Tahoma");
    LogFontA verdana = tahoma;
    std::strcpy(verdana.lfFaceName.data(), "Verdana");
    LogFontA bold = tahoma;
    bold.lfWeight = 700;

    struct Case {
        const char* what;
        LogFontA font;
        std::uint32_t dpi;
        bool settingsChanged;
        bool measuredAgain;
        std::int32_t width, height;  // what the second request answers
    };
    // At 144 DPI the margins are 45 and 11, and a row is at least the scaled image column, 30.
    const Case cases[] = {
        {"the same font and DPI", tahoma, 96, false, false, 4 * kChar + 30, kLine + 7},
        {"a higher DPI", tahoma, 144, false, true, 4 * kChar + 45, std::max(kLine + 11, 30)},
        {"another face", verdana, 96, false, true, 4 * kChar + 30, kLine + 7},
        {"another weight", bold, 96, false, true, 4 * kChar + 30, kLine + 7},
        {"a setting change announced", tahoma, 96, true, true, 4 * kChar + 30, kLine + 7},
    };
    for (const Case& c : cases) {
        RecordingPlatform fresh;
        Ref<MenuItems> collection = makeRef<MenuItems>(fresh);
        collection->Add(Value::string(u"k"), u"Open");
        MeasureStamps stamps;
        RenderContext ctx{fresh, kOwnerDC, collection.get(), 0, 0, 0, kMeasuringFont};
        ctx.measureStamp = stamps.stampFor(tahoma, ctx.dpi);
        std::int32_t height = 20;
        ASSERT_EQ(MeasureMenuItem(ctx, 1, height), 4 * kChar + 30) << c.what;

        if (c.settingsChanged) stamps.settingsChanged();
        ctx.dpi = c.dpi;
        ctx.measureStamp = stamps.stampFor(c.font, ctx.dpi);
        fresh.clearCalls();
        height = 20;
        EXPECT_EQ(MeasureMenuItem(ctx, 1, height), c.width) << c.what;
        EXPECT_EQ(height, c.height) << c.what;
        EXPECT_EQ(fresh.countOf("DrawTextW"), c.measuredAgain ? 1u : 0u) << c.what;
        // A request answered from the item makes no platform call at all.
        EXPECT_EQ(fresh.calls().empty(), !c.measuredAgain) << c.what;
    }
}

// Each thread has a record of stamps of its own; a size kept under one record's stamp is never
// taken for another record's, whatever fonts the two saw.
TEST(MeasureStamps, TwoRecordsNeverHandOutTheSameStamp) {
    LogFontA tahoma;
    std::strcpy(tahoma.lfFaceName.data(), "Tahoma");
    LogFontA verdana;
    std::strcpy(verdana.lfFaceName.data(), "Verdana");
    MeasureStamps first, second;
    const std::uint64_t a = first.stampFor(tahoma, 96);
    const std::uint64_t b = second.stampFor(verdana, 96);
    EXPECT_NE(a, b);
    EXPECT_EQ(first.stampFor(tahoma, 96), a);
    EXPECT_EQ(second.stampFor(verdana, 96), b);
}

TEST_F(MeasureMenuItemTest, WithoutAStampEveryRequestMeasures) {
    add(u"a", u"Open");
    for (int request = 0; request < 2; ++request) {
        std::int32_t height = 20;
        EXPECT_EQ(MeasureMenuItem(context, 1, height), 4 * kChar + 30);
    }
    EXPECT_EQ(platform.countOf("DrawTextW"), 2u);
    EXPECT_EQ(items->itemAt(1)->measuredSize().stamp, 0u);
}

}  // namespace
}  // namespace popupmenu::testing
