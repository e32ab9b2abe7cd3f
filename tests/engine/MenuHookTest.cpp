// The window hook against the recording platform: routing of the owner-draw requests, the
// measure answers, every message reaching the owner's own procedure, and contained failures.

#include <gtest/gtest.h>

#include "engine/MenuHook.h"
#include "engine/NuvraPopUpMenu.h"
#include "engine/PopupState.h"
#include "tests/engine/EngineTestSupport.h"

namespace popupmenu::testing {
namespace {

constexpr Handle kOwner = RecordingPlatform::kForegroundWindow;
constexpr long long kOriginal = RecordingPlatform::kOriginalProcedure;
constexpr Handle kMeasuringDC = 0x2001;  // the pop-up's memory DC, made after the owner's
constexpr std::uint32_t WM_PAINT = 0xF, WM_COMMAND = 0x111, WM_ENTERIDLE = 0x121;

// A component with items whose sizes the recording platform's text metrics make easy to tell
// apart (7 pixels a character, 16 a line, plus the renderer's margins of 30 and 7).
template <typename P = RecordingPlatform>
struct HookFixture {
    P platform;
    Ref<NuvraPopUpMenu> component = makeRef<NuvraPopUpMenu>(static_cast<Platform&>(platform));

    // Runs `whileOpen` inside the modal loop of a pop-up that returns nothing.
    void whileOpen(const std::function<void()>& body) {
        bool ran = false;
        platform.onTrack = [&](Handle, Handle) {
            body();
            ran = true;
            return 0;
        };
        component->PopUp();
        EXPECT_TRUE(ran);
    }
};

DrawItemRecord menuDrawRequest(std::uint32_t itemID) {
    DrawItemRecord draw;
    draw.CtlType = win::ODT_MENU;
    draw.itemID = itemID;
    draw.hDC = 0x2F00;
    draw.rcItem = {0, 0, 120, 23};
    return draw;
}

TEST(MenuHook, MeasureAnswersForFoundAndUnknownIdentifiers) {
    HookFixture<> f;
    addItem(*f.component->MenuItems(), u"open", u"Open");
    addItem(*f.component->MenuItems(), u"two", u"Two\nlines");
    struct Case {
        std::uint32_t itemID;
        std::uint32_t width, height;
    };
    const Case cases[] = {
        {1, 4 * 7 + 30, 16 + 7},
        {2, 5 * 7 + 30, 2 * 16 + 7},
        {99, 0, 20},  // no item has it: width 0, the preset height
    };
    f.whileOpen([&] {
        for (const Case& c : cases) {
            // The fields the answer does not set go back as they came.
            MeasureItemRecord measure{win::ODT_MENU, 0xC1, c.itemID, 555, 666, 0xDA7A};
            f.platform.deliver(kOwner, win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure));
            EXPECT_EQ(measure.itemWidth, c.width) << c.itemID;
            EXPECT_EQ(measure.itemHeight, c.height) << c.itemID;
            EXPECT_EQ(measure.CtlType, win::ODT_MENU);
            EXPECT_EQ(measure.CtlID, 0xC1u);
            EXPECT_EQ(measure.itemID, c.itemID);
            EXPECT_EQ(measure.itemData, 0xDA7Au);
        }
    });
}

TEST(MenuHook, MeasureForAControlIsAnsweredThenTheOwnerMayChangeIt) {
    HookFixture<> f;
    addItem(*f.component->MenuItems(), u"open", u"Open");
    MeasureItemRecord seenByOwner;
    f.platform.onCallWindowProcedure = [&](ProcValue, Handle, std::uint32_t msg, WParam, LParam lParam) -> LResult {
        if (msg != win::WM_MEASUREITEM) return 0;
        auto* measure = reinterpret_cast<MeasureItemRecord*>(lParam);
        seenByOwner = *measure;  // the routing has answered already
        measure->itemHeight = 40;
        return 1;
    };
    f.whileOpen([&] {
        MeasureItemRecord measure{3 /* ODT_LISTBOX */, 7, 1234, 0, 0, 0};
        EXPECT_EQ(f.platform.deliver(kOwner, win::WM_MEASUREITEM, 7, reinterpret_cast<LParam>(&measure)), 1);
        EXPECT_EQ(seenByOwner.itemWidth, 0u);
        EXPECT_EQ(seenByOwner.itemHeight, 20u);
        EXPECT_EQ(measure.itemHeight, 40u);
    });
}

TEST(MenuHook, MeasureCopiesTheRecordInAndOutAroundTheRenderer) {
    HookFixture<> f;
    addItem(*f.component->MenuItems(), u"open", u"Open");
    f.whileOpen([&] {
        MeasureItemRecord measure{win::ODT_MENU, 0, 1, 0, 0, 0};
        f.platform.clearCalls();
        f.platform.deliver(kOwner, win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure));
        EXPECT_EQ(f.platform.callsNamed({"RtlMoveMemory", "DrawTextW", "CallWindowProcW"}),
                  (Calls{{"RtlMoveMemory", {24}},
                         {"DrawTextW", {kMeasuringDC, 4, 0, 0, 0, 0, 0x400}, u"Open"},
                         {"RtlMoveMemory", {24}},
                         {"CallWindowProcW",
                          {kOriginal, kOwner, win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure)}}}));
    });
}

TEST(MenuHook, EveryMessageReachesTheOwnersProcedureWhoseResultIsReturned) {
    HookFixture<> f;
    addItem(*f.component->MenuItems(), u"open", u"Open");
    MeasureItemRecord measure{win::ODT_MENU, 0, 1, 0, 0, 0};
    DrawItemRecord draw = menuDrawRequest(1);
    struct Case {
        const char* what;
        std::uint32_t msg;
        WParam wParam;
        LParam lParam;
        bool drawsALabel;
    };
    const Case cases[] = {
        {"measure from the menu", win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure), false},
        {"measure for a control", win::WM_MEASUREITEM, 9, reinterpret_cast<LParam>(&measure), false},
        {"draw from the menu", win::WM_DRAWITEM, 0, reinterpret_cast<LParam>(&draw), true},
        // Whatever the record says: a non-zero wParam names a control the owner draws itself.
        {"draw for a control", win::WM_DRAWITEM, 12, reinterpret_cast<LParam>(&draw), false},
        {"paint", WM_PAINT, 0, 0, false},
        {"command", WM_COMMAND, 1, 0, false},
        {"enter idle", WM_ENTERIDLE, 2, 0x1234, false},
    };
    f.platform.onCallWindowProcedure = [](ProcValue, Handle, std::uint32_t msg, WParam wParam, LParam) -> LResult {
        return 0x10000 + msg * 0x100 + static_cast<LResult>(wParam);
    };
    f.whileOpen([&] {
        for (const Case& c : cases) {
            f.platform.clearCalls();
            const LResult result = f.platform.deliver(kOwner, c.msg, c.wParam, c.lParam);
            EXPECT_EQ(result, 0x10000 + c.msg * 0x100 + static_cast<LResult>(c.wParam)) << c.what;
            ASSERT_FALSE(f.platform.calls().empty()) << c.what;
            // Last, after whatever the routing did.
            EXPECT_EQ(f.platform.calls().back(),
                      (Call{"CallWindowProcW",
                            {kOriginal, kOwner, c.msg, static_cast<long long>(c.wParam), c.lParam}}))
                << c.what;
            EXPECT_EQ(f.platform.countOf("CallWindowProcW"), 1u) << c.what;
            const bool drewLabel = !f.platform.callsNamed({"DrawTextW"}).empty() &&
                                   f.platform.callsNamed({"DrawTextW"}).back().args.back() == 0;
            EXPECT_EQ(drewLabel, c.drawsALabel) << c.what;
        }
    });
}

TEST(MenuHook, FailuresWhileRoutingStayInsideTheHook) {
    HookFixture<ThrowingPlatform> f;
    addItem(*f.component->MenuItems(), u"open", u"Open");
    f.platform.onCallWindowProcedure = [](ProcValue, Handle, std::uint32_t, WParam, LParam) -> LResult { return 77; };
    f.whileOpen([&] {
        MeasureItemRecord measure{win::ODT_MENU, 0, 1, 0, 0, 0};
        f.platform.failOnCall("RtlMoveMemory");
        EXPECT_EQ(f.platform.deliver(kOwner, win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure)), 77);
        EXPECT_EQ(f.platform.countOf("CallWindowProcW"), 1u);

        DrawItemRecord draw = menuDrawRequest(1);
        f.platform.failOnCall("RtlMoveMemory");
        EXPECT_EQ(f.platform.deliver(kOwner, win::WM_DRAWITEM, 0, reinterpret_cast<LParam>(&draw)), 77);
        EXPECT_EQ(f.platform.countOf("CallWindowProcW"), 2u);

        // Nor does a failure of the owner's own procedure leave the hook.
        f.platform.failOnCall("CallWindowProcW");
        EXPECT_EQ(f.platform.deliver(kOwner, WM_PAINT, 0, 0), 0);
    });
    EXPECT_TRUE(f.platform.messageBoxes().empty());
    EXPECT_EQ(f.platform.procedureOf(kOwner), kOriginal);
}

TEST(MenuHook, EachPopUpMeasuresAndDrawsItsOwnItems) {
    // Two components of one thread whose items share identifiers; the second is created last.
    RecordingPlatform platform;
    Ref<NuvraPopUpMenu> first = makeRef<NuvraPopUpMenu>(platform);
    Ref<NuvraPopUpMenu> second = makeRef<NuvraPopUpMenu>(platform);
    addItem(*first->MenuItems(), u"a", u"Alpha");
    addItem(*second->MenuItems(), u"b", u"Bee");

    std::uint32_t measuredWidth = 0;
    const auto labelsSeen = [&](NuvraPopUpMenu& component) {
        platform.onTrack = [&](Handle, Handle owner) {
            MeasureItemRecord measure{win::ODT_MENU, 0, 1, 0, 0, 0};
            platform.deliver(owner, win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure));
            measuredWidth = measure.itemWidth;
            DrawItemRecord draw = menuDrawRequest(1);
            platform.deliver(owner, win::WM_DRAWITEM, 0, reinterpret_cast<LParam>(&draw));
            return 1;
        };
        platform.clearCalls();
        const std::u16string key = component.PopUp();
        std::vector<std::u16string> labels;
        for (const Call& call : platform.callsNamed({"DrawTextW"})) labels.push_back(call.text);
        return std::make_pair(key, labels);
    };
    EXPECT_EQ(labelsSeen(*first), std::make_pair(std::u16string(u"a"), std::vector<std::u16string>{u"Alpha", u"Alpha"}));
    EXPECT_EQ(measuredWidth, 5u * 7 + 30);
    EXPECT_EQ(labelsSeen(*second), std::make_pair(std::u16string(u"b"), std::vector<std::u16string>{u"Bee", u"Bee"}));
    EXPECT_EQ(measuredWidth, 3u * 7 + 30);

    // Releasing a component empties PopupState.Items; the other one's pop-up still finds its items,
    // and answers the measure request with the size Alpha kept from its first pop-up.
    second = nullptr;
    EXPECT_EQ(popupState().Items, nullptr);
    EXPECT_EQ(labelsSeen(*first), std::make_pair(std::u16string(u"a"), std::vector<std::u16string>{u"Alpha"}));
    EXPECT_EQ(measuredWidth, 5u * 7 + 30);
}

// When a menu of the pop-up opens, the pictures its items show are drawn once, into one surface,
// and its draw requests output them from there; a menu that is not the pop-up's keeps nothing.
TEST(MenuHook, AMenuOpeningKeepsThePicturesItsItemsShow) {
    HookFixture<> f;
    constexpr Handle kImageList = 0x6100;
    f.component->setHImageList(kImageList);
    Ref<MenuItems> items = f.component->MenuItems();
    addItem(*items, u"file", u"File")->setNormalPictureIndex(2);
    addItem(*items, u"open", u"Open", u"file")->setNormalPictureIndex(3);
    addItem(*items, u"save", u"Save", u"file")->setNormalPictureIndex(3);
    const auto picturesDrawn = [&](Handle menu) {
        f.platform.clearCalls();
        f.platform.deliver(kOwner, win::WM_INITMENUPOPUP, static_cast<WParam>(menu), 0);
        std::vector<long long> indices;
        for (const Call& call : f.platform.callsNamed({"ImageList_Draw"})) indices.push_back(call.args[1]);
        return indices;
    };
    const Handle root = 0x1000, fileMenu = 0x1001;
    f.whileOpen([&] {
        EXPECT_EQ(picturesDrawn(0x4242), std::vector<long long>{}) << "not a menu of the pop-up";
        EXPECT_EQ(picturesDrawn(root), std::vector<long long>{2});
        EXPECT_EQ(picturesDrawn(fileMenu), std::vector<long long>{3});
        EXPECT_EQ(picturesDrawn(fileMenu), std::vector<long long>{}) << "kept already";

        f.platform.clearCalls();
        DrawItemRecord draw = menuDrawRequest(static_cast<std::uint32_t>(items->itemAt(3)->ItemID()));
        f.platform.deliver(kOwner, win::WM_DRAWITEM, 0, reinterpret_cast<LParam>(&draw));
        EXPECT_EQ(f.platform.countOf("ImageList_Draw"), 0u);
        ASSERT_EQ(f.platform.imagesSetToDevice().size(), 1u);
        EXPECT_EQ(f.platform.imagesSetToDevice()[0].width, 16);
    });
    // The kept pictures went with the pop-up: nothing made for them is left.
    EXPECT_TRUE(f.platform.liveGdiObjects().empty());
    EXPECT_TRUE(f.platform.liveMemoryDCs().empty());
}

TEST(MenuHook, RoutesNothingOutsideAPopUp) {
    HookFixture<> f;
    addItem(*f.component->MenuItems(), u"open", u"Open");
    f.whileOpen([] {});
    // A subclass that kept the hook in the owner's chain still reaches the owner's procedure,
    // but no request is answered once the menu is gone.
    MeasureItemRecord measure{win::ODT_MENU, 0, 1, 0, 0, 0};
    f.platform.clearCalls();
    EXPECT_EQ(f.platform.handler()(kOwner, win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure)), 0x5A5A);
    EXPECT_EQ(f.platform.calls(),
              (Calls{{"CallWindowProcW",
                      {kOriginal, kOwner, win::WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&measure)}}}));
    EXPECT_EQ(measure.itemWidth, 0u);
    EXPECT_EQ(measure.itemHeight, 0u);
}

}  // namespace
}  // namespace popupmenu::testing
