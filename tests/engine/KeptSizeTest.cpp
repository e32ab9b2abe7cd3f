// Sizes kept from one pop-up to the next: a menu shown again is answered without measuring, and
// every change that could alter a size (the label, the system menu font, a setting or DPI change
// the system announces, a collection filled anew) has the label measured again.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "engine/NuvraPopUpMenu.h"
#include "tests/engine/EngineTestSupport.h"

namespace popupmenu::testing {
namespace {

constexpr std::int32_t kChar = RecordingPlatform::kCharWidth;

struct PopUpResult {
    std::uint32_t width = 0;
    std::size_t measured = 0;  // labels measured with DrawTextW(DT_CALCRECT)
};

class KeptSizeTest : public ::testing::Test {
protected:
    KeptSizeTest() {
        setMenuFont("Tahoma", -11);
        addItem(*items, u"open", u"Open");
    }

    void setMenuFont(const char* face, std::int32_t height) {
        LogFontA font;
        font.lfHeight = height;
        std::strcpy(font.lfFaceName.data(), face);
        platform.setMenuFont(font);
    }

    // One pop-up whose menu loop asks for the size of item 1, then runs `whileOpen`.
    PopUpResult popUp(const std::function<void(Handle owner)>& whileOpen = {}) {
        PopUpResult result;
        platform.onTrack = [&](Handle, Handle owner) {
            MeasureItemRecord measure{win::ODT_MENU, 0, 1, 0, 0, 0};
            platform.deliver(owner, win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure));
            result.width = measure.itemWidth;
            if (whileOpen) whileOpen(owner);
            return 0;
        };
        platform.clearCalls();
        component->PopUp();
        for (const Call& call : platform.callsNamed({"DrawTextW"}))
            if (call.args.back() == win::DT_CALCRECT) ++result.measured;
        return result;
    }

    RecordingPlatform platform;
    Ref<NuvraPopUpMenu> component = makeRef<NuvraPopUpMenu>(static_cast<Platform&>(platform));
    Ref<MenuItems> items = component->MenuItems();
};

TEST_F(KeptSizeTest, ShownAgainTheMenuIsAnsweredWithoutMeasuring) {
    EXPECT_EQ(popUp().measured, 1u);
    const PopUpResult again = popUp();
    EXPECT_EQ(again.measured, 0u);
    EXPECT_EQ(again.width, 4u * kChar + 30);
    // Measuring aside, the second pop-up makes the same calls: the font is still read and made.
    EXPECT_EQ(platform.countOf("SystemParametersInfoA"), 1u);
    EXPECT_EQ(platform.countOf("CreateFontIndirectA"), 1u);
}

TEST_F(KeptSizeTest, EveryChangeThatCouldAlterASizeHasTheLabelMeasuredAgain) {
    struct Case {
        const char* what;
        std::function<void()> beforeSecond;                // between the two pop-ups
        std::function<void(Handle owner)> duringFirst;     // inside the first pop-up, after measuring
        std::uint32_t secondWidth;
    };
    const auto announce = [this](std::uint32_t msg) {
        return [this, msg](Handle owner) { platform.deliver(owner, msg, 0, 0); };
    };
    const Case cases[] = {
        {"a new label", [this] { items->itemAt(1)->setText(u"Open file"); }, {}, 9u * kChar + 30},
        {"the same label set again", [this] { items->itemAt(1)->setText(u"Open"); }, {},
         4u * kChar + 30},
        {"another menu font face", [this] { setMenuFont("Verdana", -11); }, {}, 4u * kChar + 30},
        {"another menu font height", [this] { setMenuFont("Tahoma", -15); }, {}, 4u * kChar + 30},
        {"a setting change announced while the menu was open", {}, announce(win::WM_SETTINGCHANGE),
         4u * kChar + 30},
        {"a DPI change announced while the menu was open", {}, announce(win::WM_DPICHANGED), 4u * kChar + 30},
        {"the collection filled anew with the same label",
         [this] {
             items->Clear();
             addItem(*items, u"open", u"Open");
         },
         {}, 4u * kChar + 30},
    };
    for (const Case& c : cases) {
        setMenuFont("Tahoma", -11);
        items->Clear();
        addItem(*items, u"open", u"Open");
        ASSERT_EQ(popUp(c.duringFirst).measured, 1u) << c.what;
        if (c.beforeSecond) c.beforeSecond();
        const PopUpResult second = popUp();
        EXPECT_EQ(second.measured, 1u) << c.what;
        EXPECT_EQ(second.width, c.secondWidth) << c.what;
        // Measured again, the size is kept anew: a third pop-up measures nothing.
        EXPECT_EQ(popUp().measured, 0u) << c.what;
    }
}

TEST_F(KeptSizeTest, NoSizeIsKeptWhenTheMeasuringFontCannotBeMade) {
    // The labels are then measured in the DC's own font, whose sizes must not outlive the pop-up.
    platform.fail("CreateFontIndirectA");
    EXPECT_EQ(popUp().measured, 1u);
    EXPECT_EQ(popUp().measured, 1u);
}

}  // namespace
}  // namespace popupmenu::testing
