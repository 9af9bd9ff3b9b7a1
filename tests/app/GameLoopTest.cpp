// The game's main loop on a real window, its clock injected: keys arrive as SDL events through
// the window, every step records them, a frame runs the steps its time is worth, and a pause
// is not caught up afterwards.
#include <gtest/gtest.h>

#include <SDL.h>

#include <box2d/box2d.h>

#include <functional>
#include <sstream>
#include <utility>

#include "IWindow.h"
#include "app/Game.h"
#include "app/GameLoop.h"
#include "app/GameSettings.h"
#include "app/MenuSession.h"
#include "game/k_Ball.h"
#include "platform/VirtualKeys.h"
#include "support/EngineOnDisplay.h"
#include "support/SpriteRecords.h"
#include "support/TempDirectory.h"

namespace {

// A counter of milliseconds: each reading is 1/30 s (two steps) after the last, and waiting
// lets the time it asks for pass.
std::uint64_t g_now = 0;
constexpr std::uint64_t kReadingMilliseconds = 33;
std::uint64_t Now() { return g_now += kReadingMilliseconds + 1; }
std::uint64_t Frequency() { return 1000; }
bool Wait(int milliseconds) {
    g_now += static_cast<std::uint64_t>(milliseconds);
    return false;
}

// A display refreshing g_hertz times a second: every reading is one frame later.
std::uint64_t g_frames = 0;
std::uint64_t g_hertz = 60;
std::uint64_t NextFrame() { return ++g_frames; }
std::uint64_t Hertz() { return g_hertz; }

class GameLoopTest : public EngineOnDisplay {
protected:
    void SetUp() override {
        EngineOnDisplay::SetUp();
        if (!IsSkipped()) {
            StartOnScreen();
        }
    }
    // The ball goes first, then the engine, as the game releases them.
    void TearDown() override {
        g_Engine = engine.release();
        ReleaseGame();
    }

    // The ball in a walled room with loose pieces to push around.
    void StartOnScreen() {
        g_Engine = engine.get();
        SpriteData floor = Record(r_SpriteType::SolidCube, L"tiles/ground_800x32.png", 0, 568);
        SpriteData left = Record(r_SpriteType::SolidCube, L"tiles/brick_32x600.png", 0, 0);
        SpriteData right = Record(r_SpriteType::SolidCube, L"tiles/brick_32x600.png", 768, 0);
        floor.isStatic = left.isStatic = right.isStatic = true;
        MakeWorld({{floor, left, right, Record(r_SpriteType::SolidCube, L"tiles/crate_32x32.png", 200, 500),
                    Record(r_SpriteType::SolidSphere, L"tiles/boulder_32x32.png", 260, 400)}});
        StartPlaying(engine.get());
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    // Plays the steps with frames at the rate on a fresh engine; the state digest at the end.
    std::uint64_t PlayAt(std::uint64_t hertz, const std::vector<StepKeys>& steps) {
        TearDown();
        engine.reset(CreateEngine(settings));
        engine->Init();
        StartOnScreen();
        g_hertz = hertz;
        StepInput input(steps);
        GameLoop loop(*engine, input, Counter{NextFrame, Hertz}, Wait);
        loop.Run();
        EXPECT_EQ(loop.StepsRun(), static_cast<long>(steps.size()));
        return engine->GetStateDigest();
    }

    void PushKey(SDL_Keycode key, bool down) {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.windowID = WindowId();
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        SDL_PushEvent(&event);
    }
    void PushWindowEvent(Uint8 what) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = WindowId();
        event.window.event = what;
        SDL_PushEvent(&event);
    }
    void PushButton(Uint8 button, bool down) {
        SDL_Event event{};
        event.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
        event.cbutton.button = button;
        event.cbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&event);
    }
    // Plays what is pushed until Escape, on a fresh engine, with the player's settings.
    std::vector<StepKeys> PlayWith(const GameSettings& player, const std::function<void()>& push) {
        TearDown();
        engine.reset(CreateEngine(settings));
        engine->Init();
        StartOnScreen();
        push();
        PushKey(SDLK_ESCAPE, true);
        TempDirectory folder;
        StepInput input;
        MenuSession menu(*engine, player, folder.Path("settings.ini"), "level");
        GameLoop loop(*engine, input, Counter{Now, Frequency}, Wait, &menu);
        loop.Run();
        return input.Recorded();
    }
    b2Body* BallBody() { return engine->GetScene().at(engine->GetPlayerSprite()); }
    Uint32 WindowId() { return SDL_GetWindowID(static_cast<SDL_Window*>(engine->GetWindow()->GetHandle())); }
};

}  // namespace

TEST_F(GameLoopTest, StepsFollowTheClockAndTheKeysAndAPauseIsNotCaughtUp) {
    // One message a loop: Right and Down pressed, a frame, the window minimised for two waits,
    // restored, a frame, Escape.
    PushKey(SDLK_RIGHT, true);
    PushKey(SDLK_DOWN, true);
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    PushKey(SDLK_DOWN, false);
    PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    PushKey(SDLK_RETURN, true);
    PushKey(SDLK_RETURN, false);
    PushKey(SDLK_ESCAPE, true);
    StepInput input;
    GameLoop loop(*engine, input, Counter{Now, Frequency}, Wait);
    loop.Run();
    const std::vector<StepKeys> expected{kStepRight, kStepRight, kStepRight | kStepDown, kStepRight | kStepDown,
                                         kStepRight, kStepRight, kStepRight | kStepEnter, kStepRight | kStepEnter,
                                         kStepRight, kStepRight};
    EXPECT_EQ(input.Recorded(), expected);
    EXPECT_EQ(loop.StepsRun(), 10);
}

// The ball's look follows each step's keys: Up wins over Down, as in the editor's test play.
TEST_F(GameLoopTest, TheBallShowsTheBounceKeysOfEachStep) {
    const std::pair<StepKeys, int> looks[] = {{kStepUp | kStepDown, 1}, {kStepDown | kStepLeft, 2}, {kStepRight, 0}};
    for (const auto& [keys, look] : looks) {
        PlayStepKeys(keys, 0, 1);
        EXPECT_EQ(g_Ball->GetState(), look) << int{keys};
    }
}

TEST_F(GameLoopTest, AReplayPlaysItsOwnKeysWhateverThePlayerPresses) {
    PushKey(SDLK_LEFT, true);
    StepInput input({kStepRight, kStepRight | kStepUp, 0});
    GameLoop loop(*engine, input, Counter{Now, Frequency}, Wait);
    loop.Run();
    EXPECT_EQ(input.Recorded(), std::vector<StepKeys>({kStepRight, kStepRight | kStepUp, 0}));
    EXPECT_FALSE(engine->GetWindow()->IsKeyDown(VK_LEFT)) << "the player's key did not reach the window";
}

TEST_F(GameLoopTest, TheSameStepsEndInTheSameStateAtAnyFrameRate) {
    std::vector<StepKeys> steps(90, kStepRight);
    steps.insert(steps.end(), 60, kStepLeft | kStepUp);
    steps.insert(steps.end(), 45, kStepDown);
    const std::uint64_t at60 = PlayAt(60, steps);
    EXPECT_EQ(PlayAt(24, steps), at60);
    EXPECT_EQ(PlayAt(144, steps), at60);
    steps[100] = kStepRight;
    EXPECT_NE(PlayAt(60, steps), at60) << "one step's keys change the end";
}

TEST_F(GameLoopTest, TheMenuStopsTheStepsAndKeepsAnOptionChangedInIt) {
    TempDirectory folder;
    const std::filesystem::path file = folder.Path("settings.ini");
    PushKey(SDLK_RIGHT, true);
    PushKey(SDLK_p, true);
    PushKey(SDLK_p, false);
    // Options, down to the music volume, a step down, then the menu key again.
    for (SDL_Keycode key : {SDLK_UP, SDLK_UP, SDLK_UP, SDLK_RETURN, SDLK_DOWN, SDLK_DOWN, SDLK_LEFT, SDLK_p}) {
        PushKey(key, true);
    }
    PushKey(SDLK_ESCAPE, true);
    StepInput input;
    MenuSession menu(*engine, GameSettings{}, file, "level");
    GameLoop loop(*engine, input, Counter{Now, Frequency}, Wait, &menu);
    loop.Run();
    // A frame before the menu and one after it; none while it was open.
    EXPECT_EQ(input.Recorded(), std::vector<StepKeys>(4, kStepRight));
    std::ostringstream warnings;
    EXPECT_EQ(ReadGameSettings(file, warnings).musicVolume, 90);
    EXPECT_EQ(warnings.str(), "");
}

// The keys the player bound and the controller's d-pad steer the ball and choose its bounce,
// not only the steps that are recorded; the controller's Start opens the menu, which stops the steps.
TEST_F(GameLoopTest, ReboundKeysAndTheControllersDpadSteerTheBall) {
    GameSettings player;
    player.keys[static_cast<std::size_t>(KeyAction::Left)] = 'A';
    player.keys[static_cast<std::size_t>(KeyAction::Up)] = 'W';
    const auto rebound = PlayWith(player, [&] {
        PushKey(SDLK_a, true);
        PushKey(SDLK_w, true);
    });
    EXPECT_EQ(rebound, std::vector<StepKeys>({kStepLeft, kStepLeft, kStepLeft | kStepUp, kStepLeft | kStepUp}));
    EXPECT_LT(BallBody()->GetLinearVelocity().x, 0.0f) << "A steers left";
    EXPECT_FLOAT_EQ(BallBody()->GetFixtureList()->GetRestitution(), 1.3f) << "W bounces high";

    const auto withPad = PlayWith(GameSettings{}, [&] {
        PushButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
        PushButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
        PushButton(SDL_CONTROLLER_BUTTON_START, true);
        PushButton(SDL_CONTROLLER_BUTTON_START, false);
    });
    EXPECT_EQ(withPad, std::vector<StepKeys>({kStepRight, kStepRight, kStepRight | kStepDown, kStepRight | kStepDown}));
    EXPECT_GT(BallBody()->GetLinearVelocity().x, 0.0f) << "the d-pad steers right";
    EXPECT_FLOAT_EQ(BallBody()->GetFixtureList()->GetRestitution(), 0.6f) << "and lands softly";
}
