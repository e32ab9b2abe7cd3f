// The component's own members and lifecycle: the collection it owns and publishes, the image
// list shared by every component of a thread, and a creation that fails.

#include <gtest/gtest.h>

#include <thread>

#include "engine/NuvraPopUpMenu.h"
#include "engine/PopupState.h"
#include "tests/engine/EngineTestSupport.h"

namespace popupmenu::testing {
namespace {

TEST(NuvraPopUpMenu, StateStartsAtZeroOnEveryThread) {
    RecordingPlatform platform;
    Ref<NuvraPopUpMenu> here = makeRef<NuvraPopUpMenu>(platform);
    here->setHImageList(0x5150);
    std::thread([] {
        const PopupState& state = popupState();
        EXPECT_EQ(state.hRootMenu, 0);
        EXPECT_EQ(state.hImageList, 0);
        EXPECT_EQ(state.hOwnerDC, 0);
        EXPECT_EQ(state.hOwnerWnd, 0);
        EXPECT_EQ(state.Items, nullptr);
        EXPECT_EQ(state.lPrevWndProc, 0);
        EXPECT_EQ(state.lIconWidth, 0);
        EXPECT_EQ(state.lIconHeight, 0);
        RecordingPlatform platform;
        EXPECT_EQ(makeRef<NuvraPopUpMenu>(platform)->hImageList(), 0);  // not the other thread's value
    }).join();
    EXPECT_EQ(here->hImageList(), 0x5150);
    here->setHImageList(0);
}

TEST(NuvraPopUpMenu, ImageListIsOneValueForEveryComponentOfTheThread) {
    RecordingPlatform platform;
    platform.setIconSize(16, 15);
    Ref<NuvraPopUpMenu> first = makeRef<NuvraPopUpMenu>(platform);
    Ref<NuvraPopUpMenu> second = makeRef<NuvraPopUpMenu>(platform);

    first->setHImageList(0x7A11);
    EXPECT_EQ(platform.calls(), (Calls{{"ImageList_GetIconSize", {0x7A11}}}));
    EXPECT_EQ(first->hImageList(), 0x7A11);
    EXPECT_EQ(second->hImageList(), 0x7A11);
    EXPECT_EQ(popupState().lIconWidth, 16);
    EXPECT_EQ(popupState().lIconHeight, 15);

    // Any value is stored; one that is no image list has no image size.
    platform.fail("ImageList_GetIconSize");
    second->setHImageList(-3);
    EXPECT_EQ(first->hImageList(), -3);
    EXPECT_EQ(popupState().lIconWidth, 0);
    EXPECT_EQ(popupState().lIconHeight, 0);
    second->setHImageList(0);
}

TEST(NuvraPopUpMenu, MenuItemsIsTheSameCollectionEveryTime) {
    RecordingPlatform platform;
    Ref<NuvraPopUpMenu> component = makeRef<NuvraPopUpMenu>(platform);
    Ref<MenuItems> once = component->MenuItems();
    Ref<MenuItems> again = component->MenuItems();
    ASSERT_NE(once, nullptr);
    EXPECT_EQ(once, again);
    addItem(*once, u"a", u"A");
    EXPECT_EQ(again->Count(), 1);
}

TEST(NuvraPopUpMenu, ItemsNamesTheCollectionOfTheComponentCreatedLastUntilAnyIsReleased) {
    RecordingPlatform platform;
    Ref<NuvraPopUpMenu> first = makeRef<NuvraPopUpMenu>(platform);
    EXPECT_EQ(popupState().Items, first->MenuItems());
    Ref<NuvraPopUpMenu> second = makeRef<NuvraPopUpMenu>(platform);
    EXPECT_EQ(popupState().Items, second->MenuItems());
    first = nullptr;
    EXPECT_EQ(popupState().Items, nullptr);
    EXPECT_TRUE(platform.calls().empty());  // nothing of the platform is touched
}

TEST(NuvraPopUpMenu, CollectionOutlivesTheComponentButTakesPartInNoPopUp) {
    RecordingPlatform platform;
    Ref<NuvraPopUpMenu> component = makeRef<NuvraPopUpMenu>(platform);
    Ref<MenuItems> kept = component->MenuItems();
    component = nullptr;
    addItem(*kept, u"a", u"A");
    EXPECT_EQ(kept->Count(), 1);
    EXPECT_EQ(popupState().Items, nullptr);
}

TEST(NuvraPopUpMenu, CreationFailureIsShownAndTheComponentHasNoCollection) {
    RecordingPlatform platform;
    Ref<NuvraPopUpMenu> earlier = makeRef<NuvraPopUpMenu>(platform);
    Ref<NuvraPopUpMenu> failed =
        makeRef<NuvraPopUpMenu>(platform, []() -> Ref<MenuItems> { throw simulatedFailure(); });

    ASSERT_EQ(platform.messageBoxes().size(), 1u);
    EXPECT_EQ(platform.messageBoxes()[0].text, u"simulated failure");
    EXPECT_EQ(platform.messageBoxes()[0].caption, u"PopUpMenu");
    EXPECT_EQ(platform.messageBoxes()[0].style, 0x30u);
    EXPECT_EQ(failed->MenuItems(), nullptr);
    EXPECT_EQ(popupState().Items, earlier->MenuItems());  // kept its previous value
}

TEST(NuvraPopUpMenu, FactoryMakesTheCollection) {
    // The automation layer hands in a factory of its own; the component keeps what it makes.
    RecordingPlatform platform;
    Ref<MenuItems> made = makeRef<MenuItems>(platform);
    Ref<NuvraPopUpMenu> component = makeRef<NuvraPopUpMenu>(platform, [&] { return made; });
    EXPECT_EQ(component->MenuItems(), made);
    EXPECT_EQ(popupState().Items, made);
}

}  // namespace
}  // namespace popupmenu::testing
