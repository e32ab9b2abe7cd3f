// The pop-up's DPI and the thread's awareness while it is open, against the recording platform:
// which DPI is read for each awareness a host can have, when the thread is made per-monitor
// aware and that it gets its own awareness back, and that the whole pop-up is laid out at that
// one DPI.

#include <gtest/gtest.h>

#include <optional>

#include "engine/MenuHook.h"
#include "engine/NuvraPopUpMenu.h"
#include "engine/PopupDpi.h"
#include "engine/PopupState.h"
#include "tests/engine/EngineTestSupport.h"

namespace popupmenu::testing {
namespace {

using namespace win;

constexpr Handle kOwner = RecordingPlatform::kForegroundWindow;
constexpr std::intptr_t kOwnContext = RecordingPlatform::kThreadOwnContext;
constexpr Point kCursor{300, 200};

TEST(PopupDpi, TheDpiAndTheAwarenessFollowTheHostsAwareness) {
    struct Case {
        const char* what;
        int awareness;
        std::vector<long long> setResults;  // queued answers of SetThreadDpiAwarenessContext; none: accepted
        Calls calls;                        // while the DPI is chosen
        std::uint32_t dpi;
        std::intptr_t contextWhileOpen;
        Calls restore;                      // when the pop-up has closed
    };
    const Case cases[] = {
        {"a per-monitor aware host (Wine's programs): the owner window's DPI, the thread as it is",
         AWARENESS_PER_MONITOR_AWARE, {},
         {{"GetThreadDpiAwarenessContext"}, {"GetDpiForWindow", {kOwner}}}, 120, kOwnContext, {}},
        {"a platform without per-thread awareness (Windows before 10): the owner's or the system's DPI",
         AWARENESS_INVALID, {},
         {{"GetThreadDpiAwarenessContext"}, {"GetDpiForWindow", {kOwner}}}, 120, kOwnContext, {}},
        {"a host that is not DPI aware: per-monitor aware while open, at the cursor's monitor's DPI",
         AWARENESS_UNAWARE, {},
         {{"GetThreadDpiAwarenessContext"},
          {"SetThreadDpiAwarenessContext", {PER_MONITOR_AWARE_V2_CONTEXT}},
          {"GetDpiForMonitor", {kCursor.x, kCursor.y}}},
         144, PER_MONITOR_AWARE_V2_CONTEXT, {{"SetThreadDpiAwarenessContext", {kOwnContext}}}},
        {"a system-aware host, which Windows stretches on other displays: as an unaware one",
         AWARENESS_SYSTEM_AWARE, {},
         {{"GetThreadDpiAwarenessContext"},
          {"SetThreadDpiAwarenessContext", {PER_MONITOR_AWARE_V2_CONTEXT}},
          {"GetDpiForMonitor", {kCursor.x, kCursor.y}}},
         144, PER_MONITOR_AWARE_V2_CONTEXT, {{"SetThreadDpiAwarenessContext", {kOwnContext}}}},
        {"Windows without version 2 of per-monitor awareness: version 1",
         AWARENESS_UNAWARE, {0},
         {{"GetThreadDpiAwarenessContext"},
          {"SetThreadDpiAwarenessContext", {PER_MONITOR_AWARE_V2_CONTEXT}},
          {"SetThreadDpiAwarenessContext", {PER_MONITOR_AWARE_CONTEXT}},
          {"GetDpiForMonitor", {kCursor.x, kCursor.y}}},
         144, PER_MONITOR_AWARE_CONTEXT, {{"SetThreadDpiAwarenessContext", {kOwnContext}}}},
        {"both awarenesses refused: the thread as it is, the owner window's DPI, nothing to restore",
         AWARENESS_UNAWARE, {0, 0},
         {{"GetThreadDpiAwarenessContext"},
          {"SetThreadDpiAwarenessContext", {PER_MONITOR_AWARE_V2_CONTEXT}},
          {"SetThreadDpiAwarenessContext", {PER_MONITOR_AWARE_CONTEXT}},
          {"GetDpiForWindow", {kOwner}}},
         120, kOwnContext, {}},
    };
    for (const Case& c : cases) {
        RecordingPlatform platform;
        platform.setThreadAwareness(c.awareness);
        platform.setWindowDpi(120);
        platform.setMonitorDpi(144);
        for (long long r : c.setResults) platform.queueResult("SetThreadDpiAwarenessContext", r);
        std::optional<PopupDpi> dpi;
        dpi.emplace(platform, kOwner, kCursor);
        EXPECT_EQ(platform.calls(), c.calls) << c.what;
        EXPECT_EQ(dpi->dpi(), c.dpi) << c.what;
        EXPECT_EQ(platform.threadDpiContext(), c.contextWhileOpen) << c.what;
        platform.clearCalls();
        dpi.reset();
        EXPECT_EQ(platform.calls(), c.restore) << c.what;
        EXPECT_EQ(platform.threadDpiContext(), kOwnContext) << c.what;
    }
}

TEST(PopupDpi, ADpiThatCannotBeReadIsTheBaseAndAnImplausibleOneIsHeld) {
    struct Case {
        long long reported;
        std::uint32_t dpi;
    };
    const Case cases[] = {{0, 96}, {96, 96}, {192, 192}, {768, 768}, {100000, 768}};
    for (const Case& c : cases) {
        RecordingPlatform platform;
        platform.setResult("GetDpiForWindow", c.reported);
        EXPECT_EQ(PopupDpi(platform, kOwner, kCursor).dpi(), c.dpi) << c.reported;
    }
}

// A host that is not DPI aware, on a display at 144 DPI: the menu loop runs with the thread per-monitor
// aware, every request of the pop-up is answered at 144 DPI, and the host's awareness is back
// once the menu, the hook and the owner's device context are gone.
TEST(PopUpAtADpi, AnUnawareHostsPopUpIsLaidOutAtTheDisplaysDpiAndItsAwarenessComesBack) {
    RecordingPlatform platform;
    platform.setThreadAwareness(AWARENESS_UNAWARE);
    platform.setMonitorDpi(144);
    LogFontA menuFont;
    menuFont.lfHeight = -12;
    platform.setMenuFont(menuFont);
    const Ref<NuvraPopUpMenu> component = makeRef<NuvraPopUpMenu>(static_cast<Platform&>(platform));
    addItem(*component->MenuItems(), u"open", u"Open");

    std::intptr_t contextWhileTracking = 0;
    std::uint32_t dpiWhileTracking = 0;
    MeasureItemRecord found, unknown;
    found.CtlType = unknown.CtlType = ODT_MENU;
    found.itemID = 1;
    unknown.itemID = 99;
    platform.onTrack = [&](Handle, Handle owner) {
        contextWhileTracking = platform.threadDpiContext();
        dpiWhileTracking = popupState().render->dpi;
        platform.deliver(owner, WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&found));
        platform.deliver(owner, WM_MEASUREITEM, 0, reinterpret_cast<LParam>(&unknown));
        return 1;
    };
    EXPECT_EQ(component->PopUp(), u"open");

    EXPECT_EQ(contextWhileTracking, PER_MONITOR_AWARE_V2_CONTEXT);
    EXPECT_EQ(dpiWhileTracking, 144u);
    // The menu font for 144 DPI: the metrics are asked for that DPI.
    ASSERT_EQ(platform.fontsCreated().size(), 1u);
    EXPECT_EQ(platform.fontsCreated()[0].lfHeight, -18);
    EXPECT_EQ(platform.callsNamed({"SystemParametersInfoA"}), (Calls{{"SystemParametersInfoA", {41, 340, 0, 144}}}));
    // The width margin of 30 and the preset height of 20 at 144 DPI; the row, a line of 16 and the
    // margin of 11, is held at the image column's 30.
    EXPECT_EQ(found.itemWidth, 4u * RecordingPlatform::kCharWidth + 45);
    EXPECT_EQ(found.itemHeight, 30u);
    EXPECT_EQ(unknown.itemWidth, 0u);
    EXPECT_EQ(unknown.itemHeight, 30u);
    // The awareness comes back after the menu, the hook and the device context are released.
    const Calls& calls = platform.calls();
    const auto position = [&](const std::string& name) {
        std::size_t last = calls.size();
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (calls[i].name == name) last = i;
        return last;
    };
    EXPECT_GT(position("SetThreadDpiAwarenessContext"), position("ReleaseDC"));
    EXPECT_GT(position("SetThreadDpiAwarenessContext"), position("DestroyMenu"));
    EXPECT_EQ(platform.callsNamed({"SetThreadDpiAwarenessContext"}),
              (Calls{{"SetThreadDpiAwarenessContext", {PER_MONITOR_AWARE_V2_CONTEXT}},
                     {"SetThreadDpiAwarenessContext", {kOwnContext}}}));
    EXPECT_EQ(platform.threadDpiContext(), kOwnContext);
}

}  // namespace
}  // namespace popupmenu::testing
