#include <gtest/gtest.h>

#include "Failure.h"
#include "IEngine.h"
#include "ISprite.h"
#include "ITexture.h"
#include "engine/k_Engine.h"

namespace {

Settings TestSettings() {
    return Settings{{L"Title", L"test"}, {L"Width", L"320"}, {L"Height", L"200"}, {L"Fullscreen", L"0"}, {L"Zip", L"0"}};
}

class SizedTexture : public ITexture {
public:
    SizedTexture(int width, int height) : width(width), height(height) {}
    GLuint GetId() override { return 0; }
    int GetWidth() override { return width; }
    int GetHeight() override { return height; }
    std::wstring GetName() override { return L"sized"; }
    void CopyPixels(int, int) override {}
    void Bind(int) override {}
    void Unbind(int) override {}

private:
    int width;
    int height;
};

class EngineTest : public ::testing::Test {
protected:
    Settings settings = TestSettings();
    k_Engine engine{settings};
    SizedTexture tile{32, 32};

    std::unique_ptr<ISprite> Sprite(int type, float left = 0, float top = 0) {
        std::unique_ptr<ISprite> sprite = engine.CreateSprite(type);
        sprite->SetTexture(&tile);
        sprite->GetData().left = left;
        sprite->GetData().top = top;
        return sprite;
    }
};

int g_removeCalls = 0;
void CountRemove(ISprite*) { ++g_removeCalls; }

}  // namespace

TEST_F(EngineTest, AutomaticPlacementWrapsAcrossTheScreen) {
    auto anchor = Sprite(r_SpriteType::Background, 768, 0);
    auto first = Sprite(r_SpriteType::Background);
    auto second = Sprite(r_SpriteType::Background);
    engine.AddSprite(first.get(), true, anchor.get());
    EXPECT_EQ(first->GetData().left, 0.0f);
    EXPECT_EQ(first->GetData().top, 32.0f);
    engine.AddSprite(second.get(), true, nullptr);
    EXPECT_EQ(second->GetData().left, 32.0f);
    EXPECT_EQ(second->GetData().top, 32.0f);

    engine.TogglePlacementDirection();
    EXPECT_FALSE(engine.IsPlacingHorizontally());
    auto bottom = Sprite(r_SpriteType::Background, 0, 576);
    auto wrapped = Sprite(r_SpriteType::Background);
    engine.AddSprite(wrapped.get(), true, bottom.get());
    EXPECT_EQ(wrapped->GetData().left, 0.0f);
    EXPECT_EQ(wrapped->GetData().top, 0.0f);
}

TEST_F(EngineTest, SceneKeepsBodilessSpritesAndSkipsBrokenOnes) {
    auto scenery = Sprite(r_SpriteType::Background);
    auto broken = Sprite(r_SpriteType::Breakable);
    broken->GetData().broken = true;
    engine.AddSprite(scenery.get(), false, nullptr);
    engine.AddSprite(broken.get(), false, nullptr);
    ASSERT_EQ(engine.GetScene().size(), 1u);
    EXPECT_EQ(engine.GetScene().at(scenery.get()), nullptr);

    engine.RemoveSprite(broken.get());  // not in the scene: nothing happens
    EXPECT_EQ(engine.GetScene().size(), 1u);
}

TEST_F(EngineTest, LayersComeInAscendingDepth) {
    auto top = Sprite(r_SpriteType::Background);
    auto bottom = Sprite(r_SpriteType::Background);
    top->GetData().depth = 255;
    bottom->GetData().depth = -3;
    engine.AddSprite(top.get(), false, nullptr);
    engine.AddSprite(bottom.get(), false, nullptr);
    SpriteLayers layers = engine.GetSpritesByLayer();
    ASSERT_EQ(layers.size(), 2u);
    EXPECT_EQ(layers.begin()->first, -3);
    EXPECT_EQ(layers.begin()->second.front(), bottom.get());
}

TEST_F(EngineTest, QueuedRemovalCallsTheHookAndTakesTheSpriteOutOnce) {
    g_removeCalls = 0;
    engine.SetRemoveCallback(CountRemove);
    auto sprite = Sprite(r_SpriteType::Background);
    engine.AddSprite(sprite.get(), false, nullptr);
    engine.QueueRemoveSprite(sprite.get());
    engine.QueueRemoveSprite(sprite.get());
    EXPECT_EQ(g_removeCalls, 2);
    EXPECT_EQ(engine.GetScene().size(), 1u) << "removal waits for the next frame";
}

TEST_F(EngineTest, FailedResourceCreationLeavesTheNameRetryable) {
    EXPECT_THROW(engine.GetTexture(L"no-such-picture.png"), k_Failure);
    EXPECT_THROW(engine.GetTexture(L"no-such-picture.png"), k_Failure);
}

TEST_F(EngineTest, UnsetHooksAreSkipped) {
    engine.OnMouse(1, 2, 0x200);
    engine.OnKey(0x1B, true);
    engine.OnEdge();
    engine.OnHit(nullptr);
    engine.Kill();
    EXPECT_EQ(engine.GetHighlightLayer(), 0);
    engine.SetHighlightLayer(-1);
    EXPECT_EQ(engine.GetHighlightLayer(), -1);
}
