// The game's own flow on a real engine with an open window: the ball, the death handler with
// its blinking pictures, the restart on the start screen or the last checkpoint, and finishing
// the worlds one after the other with their best times kept.
#include <gtest/gtest.h>

#include "IEngine.h"
#include "IShaderTexture.h"
#include "IUniverse.h"
#include "ISprite.h"
#include "app/Game.h"
#include "app/Journey.h"
#include "game/k_Ball.h"
#include "support/EngineOnDisplay.h"
#include "support/Failures.h"
#include "support/ScopedEnvironment.h"
#include "support/SpriteRecords.h"
#include "support/TempDirectory.h"

namespace {

// The game's globals own the engine here, as in the game.
class GameFlowTest : public EngineOnDisplay {
protected:
    void SetUp() override {
        EngineOnDisplay::SetUp();
        g_Engine = engine.get();
        if (g_Engine) {
            g_Engine->SetDeathCallback(OnDeath);
        }
    }

    // One fixed step as the game's loop runs it, with the step's keys.
    void Step(StepKeys keys = 0) {
        PlayStepKeys(keys, 0, 1);
        g_Engine->Update(1.0f / 60.0f);
        ReleaseRetiredBallSprite(*g_Engine);
    }

    // Puts the ball just inside the right edge; the next step carries it into the next screen.
    void CrossRightWithin(int steps) {
        for (int step = 1; step < steps; ++step) {
            Step();
        }
        delete g_Ball;
        g_Ball = new k_Ball(kNearRightEdge, kMiddleHeight);
        Step();
    }

    IScreen* Current() { return g_Engine->GetUniverse()->GetCurrentWorld()->GetCurrentScreen(); }

    static constexpr float kNearRightEdge = 784.5f;
    static constexpr float kMiddleHeight = 300.0f;
    const std::vector<SpriteData> floor = {Record(r_SpriteType::SolidCube, L"tiles/brick_800x32.png", 0, 568)};

    void TearDown() override {
        if (g_Engine) {
            engine.release();  // ReleaseGame deletes it, after the ball
            ReleaseGame();
        }
    }
};

}  // namespace

TEST_F(GameFlowTest, TheBallDiesShowsTheBlinkingPicturesAndRestartsOnTheStartScreenAndItsShaderKeepsItsName) {
    const std::vector<SpriteData> floor = {Record(r_SpriteType::SolidCube, L"tiles/brick_800x32.png", 0, 568)};
    IWorld* world = MakeWorld({floor, floor});
    world->SetCurrentScreen(world->GetScreens()[1].get());
    g_Ball = new k_Ball();
    ISprite* ballSprite = g_Engine->GetPlayerSprite();
    ASSERT_NE(ballSprite, nullptr);
    ASSERT_NE(g_Engine->GetScene().at(ballSprite), nullptr) << "the ball has a body";
    const SpriteData& record = ballSprite->GetData();
    EXPECT_EQ(record.type, r_SpriteType::SolidSphere);
    EXPECT_EQ(record.left, 128.0f);
    EXPECT_EQ(record.top, 32.0f);
    EXPECT_EQ(record.depth, 100);
    EXPECT_EQ(record.texture, L"ball.glsl");
    ITexture* shaderTexture = ballSprite->GetTexture();
    g_Ball->SetState(2);
    EXPECT_EQ(g_Ball->GetState(), 2);

    g_Engine->Kill();
    g_Engine->Update(0.01f);
    EXPECT_EQ(g_Ball, nullptr);
    EXPECT_EQ(g_Engine->GetPlayerSprite(), nullptr);
    EXPECT_EQ(g_Engine->GetScene().count(ballSprite), 0u) << "the ball's sprite leaves before the frame draws";
    ASSERT_NE(g_DeathSprite, nullptr);
    EXPECT_EQ(g_DeathSprite->GetTexture(), g_DeathTexture);
    EXPECT_EQ(g_DeathSprite->GetData().depth, 255);

    // Each picture shows for the first or second half of a 250 ms cycle of the counter.
    BlinkDeathPicture(1000 * 20 + 200, 1000);
    EXPECT_EQ(g_DeathSprite->GetTexture(), g_DeathTexture2);
    BlinkDeathPicture(1000 * 20 + 100, 1000);
    EXPECT_EQ(g_DeathSprite->GetTexture(), g_DeathTexture);

    ISprite* deathSprite = g_DeathSprite.get();
    Restart();
    EXPECT_EQ(world->GetCurrentScreen(), world->GetScreens()[0].get());
    ASSERT_NE(g_Ball, nullptr);
    EXPECT_EQ(g_Engine->GetPlayerSprite()->GetTexture(), shaderTexture) << "the shader texture is shared";
    EXPECT_EQ(g_DeathSprite, nullptr);
    EXPECT_EQ(g_Engine->GetScene().count(deathSprite), 0u);
    // A shader texture cannot take the name of a cached picture.
    EXPECT_TRUE(Contains(FailureOf([] { g_Engine->GetShaderTexture(L"die.png", L"ball.vs", L"ball.fs", 32, 32); }),
                         {L"\"die.png\""}));
}

TEST_F(GameFlowTest, ADeathRestartsOnTheLastCheckpointReachedWithTheBallAtRestWhereItEntered) {
    IWorld* world = MakeWorld({floor, floor, floor});
    auto& screens = world->GetScreens();
    screens[1]->SetCheckpoint(true);
    BeginJourney("level", false);
    StartPlaying(g_Engine);
    CrossRightWithin(3);
    ASSERT_EQ(Current(), screens[1].get());
    const SpriteData entered = g_Engine->GetPlayerSprite()->GetData();
    EXPECT_LT(entered.left, 0.0f) << "the ball entered through the left edge";
    CrossRightWithin(2);
    ASSERT_EQ(Current(), screens[2].get());

    g_Engine->Kill();
    Step();
    ASSERT_EQ(g_Ball, nullptr);
    Step(kStepEnter);
    EXPECT_EQ(Current(), screens[1].get());
    ASSERT_NE(g_Ball, nullptr);
    // The restart's step has run: the ball has only begun to fall from where it entered.
    const SpriteData& restarted = g_Engine->GetPlayerSprite()->GetData();
    EXPECT_FLOAT_EQ(restarted.left, entered.left);
    EXPECT_NEAR(restarted.top, entered.top, 1.0f);
    Step();
    EXPECT_NEAR(g_Engine->GetPlayerSprite()->GetData().left, entered.left, 0.01f) << "at rest";
    EXPECT_EQ(CurrentRunStats().deaths, 1);
    EXPECT_EQ(CurrentRunStats().steps, 8);

    // A new run has no checkpoint yet: back to the start screen and the ball's usual place.
    BeginRun(*g_Engine);
    g_Engine->Kill();
    Step();
    Step(kStepEnter);
    EXPECT_EQ(Current(), screens[0].get());
    EXPECT_EQ(g_Engine->GetPlayerSprite()->GetData().left, 128.0f);
    EXPECT_EQ(CurrentRunStats().deaths, 1);
}

TEST_F(GameFlowTest, AGoalFinishesTheRunKeepsABestTimeWithItsReplayAndEnterGoesOnThroughEveryWorld) {
    TempDirectory home;
    ScopedEnvironment dataHome("XDG_DATA_HOME", home.Path().c_str());
    IWorld* meadows = MakeWorld({floor, floor});
    IWorld* reef = MakeWorld({floor, floor});
    meadows->SetName(L"Meadows");
    reef->SetName(L"Tide Pools");
    meadows->GetScreens()[1]->SetGoal(true);
    reef->GetScreens()[1]->SetGoal(true);
    IUniverse* universe = g_Engine->GetUniverse();
    universe->SetCurrentWorld(meadows);
    BeginJourney("level", true);
    StartPlaying(g_Engine);

    CrossRightWithin(6);
    Step();
    EXPECT_EQ(g_Ball, nullptr) << "the run stops at the goal";
    EXPECT_TRUE(IsBallInPlay(*g_Engine));
    EXPECT_NE(RunSummary(*g_Engine, 0).find("screen (1, 0), alive"), std::string::npos);
    Step(kStepRight);
    EXPECT_EQ(CurrentRunStats().steps, 6) << "the time stops at the goal";
    std::vector<WorldRecord> records = ListWorldRecords(*g_Engine);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(std::tuple(records[0].reached, records[0].bestSteps, records[1].reached),
              std::tuple(true, std::optional<long>(6), false));
    const Replay best = ReadReplayFile(records[0].bestReplay);
    EXPECT_EQ(std::pair(best.world, best.steps.size()), std::pair(std::string("Meadows"), std::size_t{6}));

    Step(kStepEnter);
    EXPECT_EQ(universe->GetCurrentWorld(), reef);
    EXPECT_EQ(Current(), reef->GetScreens()[0].get());
    ASSERT_NE(g_Ball, nullptr);
    CrossRightWithin(1);
    Step(kStepEnter);
    EXPECT_EQ(g_Ball, nullptr) << "Enter held on arriving does not skip the finish picture";
    Step();
    Step(kStepEnter);
    EXPECT_EQ(std::pair(universe->GetCurrentWorld(), g_Ball), std::pair(reef, static_cast<k_Ball*>(nullptr)))
        << "after the last world the closing picture";
    Step();
    Step(kStepEnter);
    EXPECT_EQ(universe->GetCurrentWorld(), meadows);

    // Slower is no new best; faster is, and both are in the records file the next start reads.
    CrossRightWithin(9);
    Step();
    EXPECT_EQ(ListWorldRecords(*g_Engine)[0].bestSteps, std::optional<long>(6));
    StartWorld(*g_Engine, "Meadows");
    CrossRightWithin(3);
    Step();
    BeginJourney("level", true);
    records = ListWorldRecords(*g_Engine);
    EXPECT_EQ(std::tuple(records[0].bestSteps, records[1].reached, records[1].bestSteps),
              std::tuple(std::optional<long>(3), true, std::optional<long>(2)));
    EnterFurthestWorldReached(*g_Engine);
    EXPECT_EQ(universe->GetCurrentWorld(), reef);
}
