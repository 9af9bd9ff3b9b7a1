#include <gtest/gtest.h>

#include "Failure.h"
#include "IUniverse.h"
#include "engine/k_Engine.h"
#include "support/WorldFakes.h"

namespace {

class EngineTest : public ::testing::Test {
protected:
    Settings settings{{L"Title", L"test"}, {L"Width", L"320"}, {L"Height", L"200"}, {L"Fullscreen", L"0"}, {L"Zip", L"0"}};
    k_Engine engine{settings};
    FakeTexture tile{L"tile.png"};  // 32 x 32

    std::unique_ptr<ISprite> Sprite(int type, float left = 0, float top = 0, int depth = 0) {
        std::unique_ptr<ISprite> sprite = engine.CreateSprite(type);
        sprite->SetTexture(&tile);
        sprite->GetData().left = left;
        sprite->GetData().top = top;
        sprite->GetData().depth = depth;
        return sprite;
    }
};

int g_screensEntered = 0;
int g_screensLeft = 0;
void CountEntered(IScreen*) { ++g_screensEntered; }
void CountLeft(IScreen*) { ++g_screensLeft; }

}  // namespace

TEST_F(EngineTest, AutomaticPlacementWrapsAcrossTheScreen) {
    auto anchor = Sprite(r_SpriteType::Background, 768, 0);
    auto first = Sprite(r_SpriteType::Background);
    auto second = Sprite(r_SpriteType::Background);
    auto place = [&](ISprite* sprite, ISprite* after) {
        engine.AddSprite(sprite, true, after);
        return std::pair(sprite->GetData().left, sprite->GetData().top);
    };
    EXPECT_EQ(place(first.get(), anchor.get()), std::pair(0.0f, 32.0f));
    EXPECT_EQ(place(second.get(), nullptr), std::pair(32.0f, 32.0f));

    engine.TogglePlacementDirection();
    EXPECT_FALSE(engine.IsPlacingHorizontally());
    auto bottom = Sprite(r_SpriteType::Background, 0, 576);
    auto wrapped = Sprite(r_SpriteType::Background);
    EXPECT_EQ(place(wrapped.get(), bottom.get()), std::pair(0.0f, 0.0f));
}

TEST_F(EngineTest, SceneSkipsBrokenSpritesAndListsLayersInAscendingDepth) {
    auto top = Sprite(r_SpriteType::Background, 0, 0, 255);
    auto bottom = Sprite(r_SpriteType::Background, 0, 0, -3);
    auto broken = Sprite(r_SpriteType::Breakable);
    broken->GetData().broken = true;
    engine.AddSprite(top.get(), false, nullptr);
    engine.AddSprite(bottom.get(), false, nullptr);
    engine.AddSprite(broken.get(), false, nullptr);
    ASSERT_EQ(engine.GetScene().size(), 2u);
    EXPECT_EQ(engine.GetScene().at(top.get()), nullptr) << "scenery has no body";
    engine.RemoveSprite(broken.get());  // not in the scene: nothing happens
    EXPECT_EQ(engine.GetScene().size(), 2u);

    SpriteLayers layers = engine.GetSpritesByLayer();
    ASSERT_EQ(layers.size(), 2u);
    EXPECT_EQ(layers.begin()->first, -3);
    EXPECT_EQ(layers.begin()->second.front(), bottom.get());
}

// Overlapping tiles of one depth must not swap places between runs, whatever addresses
// the sprites happen to get: a layer draws in the order its sprites entered the scene.
TEST_F(EngineTest, ALayerDrawsItsSpritesInTheOrderTheyWereAdded) {
    std::vector<std::unique_ptr<ISprite>> sprites;
    for (int i = 0; i < 8; ++i) {
        sprites.push_back(Sprite(r_SpriteType::Background, 0, 0, 5));
    }
    std::vector<ISprite*> added;
    for (int i : {3, 0, 7, 5, 1, 6, 2, 4}) {
        engine.AddSprite(sprites[i].get(), false, nullptr);
        added.push_back(sprites[i].get());
    }
    engine.RemoveSprite(added[2]);
    engine.AddSprite(added[2], false, nullptr);  // re-added: now the last one
    added.push_back(added[2]);
    added.erase(added.begin() + 2);
    EXPECT_EQ(engine.GetSpritesByLayer().at(5), added);
}

TEST_F(EngineTest, FailedResourceCreationLeavesTheNameRetryableAndUnsetHooksAreSkipped) {
    EXPECT_THROW(engine.GetTexture(L"no-such-picture.png"), k_Failure);
    EXPECT_THROW(engine.GetTexture(L"no-such-picture.png"), k_Failure);
    engine.OnMouse(1, 2, 0x200);
    engine.OnKey(0x1B, true);
    engine.OnEdge();
    engine.OnHit(nullptr);
    engine.Kill();
}

// A tool's screen handlers see every entry paired with a leaving, the last one at teardown too.
TEST_F(EngineTest, ScreenHandlersHearEveryEnterPairedWithALeaveThroughAWholeLife) {
    g_screensEntered = g_screensLeft = 0;
    auto life = std::make_unique<k_Engine>(settings);
    IUniverse* universe = life->GetUniverse();
    universe->SetScreenEnteredHandler(CountEntered);
    universe->SetScreenLeftHandler(CountLeft);
    universe->GetWorlds().push_back(universe->CreateWorld());
    IWorld* world = universe->GetWorlds()[0].get();
    world->GetScreens().push_back(world->CreateScreen(0, 0));
    world->GetScreens().push_back(world->CreateScreen(1, 0));
    universe->SetCurrentWorld(world);
    world->SetCurrentScreen(world->GetScreens()[1].get());
    life.reset();
    EXPECT_EQ(g_screensEntered, 2);
    EXPECT_EQ(g_screensLeft, 2);
}
