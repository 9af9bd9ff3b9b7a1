// The game menu as a model: moving, choosing, closing, options and rebinding, and the step
// keys the bindings steer.
#include <gtest/gtest.h>

#include "app/GameMenu.h"
#include "app/StepKeys.h"
#include "platform/VirtualKeys.h"
#include "support/FakeEngine.h"

namespace {

using Kind = MenuCommand::Kind;

GameMenu OpenMenu() {
    GameMenu menu{GameSettings{}};
    menu.Open({{"Meadows", true, 3661, "meadows.replay"}, {"Tide Pools", false, {}, {}}, {"Embers", true, {}, {}}},
              "last.replay");
    return menu;
}

// Presses the keys in turn; the last command.
MenuCommand Press(GameMenu& menu, std::initializer_list<int> keys) {
    MenuCommand last;
    for (int key : keys) {
        last = menu.Press(key);
    }
    return last;
}

}  // namespace

TEST(GameMenuTest, MovesPastUnreachedWorldsChoosesAndCloses) {
    GameMenu menu = OpenMenu();
    EXPECT_EQ(Press(menu, {VK_UP}).kind, Kind::None);
    EXPECT_EQ(menu.Lines()[static_cast<std::size_t>(menu.Selected())].label, "Quit") << "moving wraps around";
    Press(menu, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_EQ(menu.Page(), MenuPage::Worlds);
    EXPECT_EQ(menu.Lines()[0].value, "best 1:01.02");
    const MenuCommand start = Press(menu, {VK_DOWN, VK_RETURN});
    EXPECT_EQ(start.kind, Kind::StartWorld);
    EXPECT_EQ(start.world, "Embers") << "Tide Pools is not reached and is skipped";
    EXPECT_FALSE(menu.IsOpen());

    menu.Reopen();
    const MenuCommand replay = Press(menu, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(replay.kind, Kind::PlayReplay);
    EXPECT_EQ(replay.replay, "meadows.replay");
    EXPECT_EQ(Press(menu, {'P'}).kind, Kind::Resume);
    EXPECT_FALSE(menu.IsOpen());
    menu.Reopen();
    EXPECT_EQ(Press(menu, {VK_PAUSE}).kind, Kind::Resume) << "a controller's Start closes too";
}

TEST(GameMenuTest, OptionsChangeWithinTheirRangesAndSaySo) {
    GameMenu menu = OpenMenu();
    Press(menu, {VK_UP, VK_UP, VK_UP, VK_RETURN});
    ASSERT_EQ(menu.Page(), MenuPage::Options);
    EXPECT_EQ(Press(menu, {VK_DOWN, VK_DOWN, VK_RIGHT}).kind, Kind::SettingsChanged);
    EXPECT_EQ(menu.Settings().musicVolume, 100) << "full stays full";
    Press(menu, {VK_LEFT, VK_LEFT});
    EXPECT_EQ(menu.Settings().musicVolume, 80);
    Press(menu, {VK_DOWN, VK_RETURN});
    EXPECT_EQ(menu.Settings().effectsVolume, 0) << "choosing at full wraps to silent";
    Press(menu, {VK_LEFT, VK_DOWN, VK_RIGHT, VK_UP, VK_UP, VK_UP, VK_RETURN});
    EXPECT_EQ(menu.Settings().effectsVolume, 0);
    EXPECT_TRUE(menu.Settings().hud);
    EXPECT_EQ(menu.Settings().scaling, SceneScaling::Sharp);
}

TEST(GameMenuTest, RebindingSwapsACollidingKeyRefusesReservedOnesAndRestoresDefaults) {
    GameMenu menu = OpenMenu();
    Press(menu, {VK_UP, VK_UP, VK_UP, VK_RETURN, VK_UP, VK_UP, VK_RETURN});
    ASSERT_EQ(menu.Page(), MenuPage::Controls);
    EXPECT_EQ(Press(menu, {VK_RETURN, 'A'}).kind, Kind::SettingsChanged);
    EXPECT_EQ(menu.Settings().keys[0], 'A');
    // Right takes A: Left gets Right's old key rather than sharing one.
    EXPECT_EQ(Press(menu, {VK_DOWN, VK_RETURN, 'A'}).kind, Kind::SettingsChanged);
    EXPECT_EQ(menu.Settings().keys[1], 'A');
    EXPECT_EQ(menu.Settings().keys[0], VK_RIGHT);
    EXPECT_EQ(menu.Remark(), "Left swapped to Right");
    // Escape cancels; F12 and Pause keep their own meaning.
    for (int key : {VK_ESCAPE, VK_F12, VK_PAUSE}) {
        EXPECT_EQ(Press(menu, {VK_RETURN, key}).kind, Kind::None);
        EXPECT_FALSE(menu.IsAwaitingKey());
        EXPECT_EQ(menu.Settings().keys[1], 'A');
    }
    // A controller's button binds the action's button and leaves its key alone.
    EXPECT_EQ(Press(menu, {VK_RETURN, VK_GAMEPAD_DPAD_LEFT}).kind, Kind::SettingsChanged);
    EXPECT_EQ(menu.Settings().pads[1], VK_GAMEPAD_DPAD_LEFT);
    EXPECT_EQ(menu.Settings().pads[0], VK_GAMEPAD_DPAD_RIGHT);
    EXPECT_EQ(menu.Settings().keys[1], 'A');
    // The bound keys move through the menu too: A is Right now, which moves nothing.
    Press(menu, {'A', VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN});
    EXPECT_EQ(Press(menu, {VK_RETURN}).kind, Kind::SettingsChanged);
    EXPECT_EQ(menu.Settings(), GameSettings{});
}

TEST(StepKeysTest, TheBoundKeyAndButtonOfAnActionSteerIt) {
    std::array<int, kKeyActionCount> keys = GameSettings::DefaultKeys();
    std::array<int, kKeyActionCount> pads = GameSettings::DefaultPads();
    keys[static_cast<std::size_t>(KeyAction::Left)] = 'A';
    pads[static_cast<std::size_t>(KeyAction::Up)] = VK_GAMEPAD_B;
    FakeEngine engine;
    BindStepKeys(engine, keys, pads);
    EXPECT_EQ(StepKeysOfKey('A'), kStepLeft);
    EXPECT_EQ(StepKeysOfKey(VK_LEFT), 0) << "the old key is free";
    EXPECT_EQ(StepKeysOfKey(VK_GAMEPAD_DPAD_LEFT), kStepLeft);
    EXPECT_EQ(StepKeysOfKey(VK_GAMEPAD_B), kStepUp);
    EXPECT_EQ(StepKeysOfKey('P'), 0) << "the menu key steers nothing";
    BindStepKeys(engine, GameSettings::DefaultKeys(), GameSettings::DefaultPads());
}
