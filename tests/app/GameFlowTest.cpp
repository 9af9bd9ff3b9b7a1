// The game's own flow on a real engine with an open window: the ball, the death handler with
// its blinking pictures, and the restart on the start screen.
#include <gtest/gtest.h>

#include <SDL.h>

#include "IEngine.h"
#include "IShaderTexture.h"
#include "IUniverse.h"
#include "app/FrameClock.h"
#include "app/Game.h"
#include "game/k_Ball.h"
#include "support/Failures.h"
#include "support/SpriteRecords.h"

namespace {

class GameFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            GTEST_SKIP() << "no display: " << SDL_GetError();
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        g_Engine = CreateEngine(settings);
        g_Engine->Init();
        g_Engine->SetDeathCallback(OnDeath);
    }

    void TearDown() override {
        if (g_Engine) {
            ReleaseGame();
        }
    }

    // Screens (0, 0) and (1, 0) with a floor each; the second one is current.
    IWorld* MakeWorld() {
        IUniverse* universe = g_Engine->GetUniverse();
        std::unique_ptr<IWorld> world = universe->CreateWorld();
        for (int column = 0; column < 2; ++column) {
            world->GetScreens().push_back(world->CreateScreen(column, 0));
            world->GetScreens().back()->GetSpriteData() = {
                Record(r_SpriteType::SolidCube, L"tiles/brick_800x32.png", 0, 568)};
        }
        IWorld* raw = world.get();
        universe->GetWorlds().push_back(std::move(world));
        universe->SetCurrentWorld(raw);
        raw->SetCurrentScreen(raw->GetScreens()[1].get());
        return raw;
    }

    Settings settings{{L"Title", L"test"}, {L"Width", L"320"}, {L"Height", L"200"}, {L"Fullscreen", L"0"}, {L"Zip", L"0"}};
};

}  // namespace

TEST_F(GameFlowTest, TheBallDiesShowsTheBlinkingPicturesAndRestartsOnTheStartScreen) {
    IWorld* world = MakeWorld();
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
}

TEST_F(GameFlowTest, AShaderTextureCannotTakeTheNameOfACachedPicture) {
    g_Engine->GetTexture(L"die.png");
    EXPECT_TRUE(Contains(FailureOf([] { g_Engine->GetShaderTexture(L"die.png", L"ball.vs", L"ball.fs", 32, 32); }),
                         {L"\"die.png\""}));
}

TEST(FrameClockTest, APauseDoesNotComeBackAsOneLongFrame) {
    FrameClock clock;
    std::uint64_t frequency = 0;
    Sleep(200);
    clock.Resume();
    EXPECT_LT(clock.NextFrame(frequency), 0.1f);
    Sleep(200);
    EXPECT_GE(clock.NextFrame(frequency), 0.19f);
}
