#include <gtest/gtest.h>


#include "game/PhysicsScale.h"
#include "game/SpriteBody.h"
#include "game/k_PhysicsWorld.h"
#include "world/ScreenGeometry.h"

namespace {

b2Body* Ball(k_PhysicsWorld& physics, float left, float top) {
    SpriteData data;
    data.type = r_SpriteType::SolidSphere;
    data.left = left;
    data.top = top;
    return CreateSpriteBody(physics.GetWorld(), data, 32, 32);
}

}  // namespace

TEST(PhysicsWorld, GravityPullsDownInPixelsAndSpeedIsCapped) {
    k_PhysicsWorld physics{PixelVector{kScreenWidth, kScreenHeight}};
    b2Body* ball = Ball(physics, 100, 100);
    physics.Step(0.1f, 1);
    EXPECT_NEAR(physics.GetVelocity(ball).y, 1.0f, 1e-3) << "10 pixels per time unit squared for 0.1";
    EXPECT_GT(physics.GetPosition(ball).y, 116.0f);
    EXPECT_EQ(physics.GetPosition(ball).x, 116.0f);
    physics.SetVelocity(ball, PixelVector{300.0f, 400.0f});
    physics.Step(0.01f, 1);
    PixelVector velocity = physics.GetVelocity(ball);
    EXPECT_NEAR(std::hypot(velocity.x, velocity.y), 200.0f, 0.01f);
}

TEST(PhysicsWorld, BodiesLeavingTheWorldBoxStopAndMovedOnesWake) {
    k_PhysicsWorld physics{PixelVector{kScreenWidth, kScreenHeight}};
    b2Body* inside = Ball(physics, 1100, 100);
    b2Body* outside = Ball(physics, 1250, 100);
    physics.Step(0.1f, 1);
    EXPECT_TRUE(inside->IsEnabled());
    EXPECT_FALSE(outside->IsEnabled());
    float frozenTop = physics.GetPosition(outside).y;
    physics.Step(0.1f, 1);
    EXPECT_EQ(physics.GetPosition(outside).y, frozenTop);
    inside->SetAwake(false);
    physics.MoveBody(inside, PixelVector{400.0f, 300.0f}, 0.0f);
    EXPECT_TRUE(inside->IsAwake());
    EXPECT_NEAR(physics.GetPosition(inside).x, 400.0f, 1e-3);
    physics.DestroyBody(inside);
    EXPECT_EQ(physics.GetWorld()->GetBodyCount(), 1);
}
