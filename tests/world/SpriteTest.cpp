#include <box2d/box2d.h>

#include "game/PhysicsScale.h"
#include "support/DrawingFixture.h"

using SpriteTest = DrawingTest;

TEST_F(SpriteTest, SpritesOutsideTheHighlightedLayerAreFaded) {
    auto white = SolidTexture(L"white.png", 4, 4, {255, 255, 255, 255});
    AddSprite(white.get(), 0, 0, 3);
    AddSprite(white.get(), 10, 0, 4);
    engine.highlightLayer = 3;
    graphics.AccumulateScene(1.0f);
    EXPECT_TRUE(ColourNear(ReadPixel(0, 0), {255, 255, 255, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(10, 0), {77, 77, 77, 255}));

    graphics.Clear();
    engine.highlightLayer = -1;
    graphics.AccumulateScene(1.0f);
    EXPECT_TRUE(ColourNear(ReadPixel(10, 0), {255, 255, 255, 255}));
}

TEST_F(SpriteTest, BodyTakesTheTexturesSizeAndASpriteWithoutATextureDrawsNothing) {
    k_Sprite bare(&engine, r_SpriteType::Background);
    engine.AddSprite(&bare, false, nullptr);
    graphics.AccumulateScene(1.0f);
    EXPECT_TRUE(ColourNear(ReadPixel(0, 0), {0, 0, 0, 255}));
    EXPECT_EQ(bare.CreateBody(nullptr), nullptr);

    auto ball = SolidTexture(L"ball.png", 32, 32, {255, 255, 255, 255});
    b2World world(b2Vec2(0, ToMetres(10.0f)));
    k_Sprite sphere(&engine, r_SpriteType::SolidSphere);
    sphere.SetTexture(ball.get());
    sphere.GetData().left = 100;
    b2Body* body = sphere.CreateBody(&world);
    ASSERT_NE(body, nullptr);
    EXPECT_NEAR(ToPixels(body->GetFixtureList()->GetShape()->m_radius), 16.0f, 1e-4);
    EXPECT_NEAR(ToPixels(body->GetPosition().x), 116.0f, 1e-4);
}
