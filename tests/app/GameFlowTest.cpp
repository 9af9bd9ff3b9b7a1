// The game's own flow on a real engine with an open window: the ball, the death handler with
// its blinking pictures, and the restart on the start screen.
#include <gtest/gtest.h>

#include "IEngine.h"
#include "IShaderTexture.h"
#include "IUniverse.h"
#include "app/Game.h"
#include "game/k_Ball.h"
#include "support/EngineOnDisplay.h"
#include "support/Failures.h"
#include "support/SpriteRecords.h"

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
