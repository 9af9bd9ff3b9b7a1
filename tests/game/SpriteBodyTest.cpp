#include <gtest/gtest.h>

#include "game/PhysicsScale.h"
#include "game/SpriteBody.h"
#include "support/SpriteRecords.h"

TEST(SpriteBody, SphereIsACircleCentredOnItsRectangle) {
    b2World world(b2Vec2(0, ToMetres(10.0f)));
    b2Body* body = CreateSpriteBody(&world, Record(r_SpriteType::SolidSphere, L"", 100, 200), 32, 32);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->GetType(), b2_dynamicBody);
    EXPECT_NEAR(ToPixels(body->GetPosition().x), 116.0f, 1e-4);
    EXPECT_NEAR(ToPixels(body->GetPosition().y), 216.0f, 1e-4);
    b2Fixture* fixture = body->GetFixtureList();
    ASSERT_EQ(fixture->GetType(), b2Shape::e_circle);
    EXPECT_NEAR(ToPixels(fixture->GetShape()->m_radius), 16.0f, 1e-4);
    EXPECT_FLOAT_EQ(fixture->GetRestitution(), 1.0f);
    EXPECT_FLOAT_EQ(fixture->GetFriction(), 0.3f);
}

TEST(SpriteBody, BodiedTypesGetBoxesStaticOnesNoMassAndSceneryNoBody) {
    b2World world(b2Vec2(0, ToMetres(10.0f)));
    for (auto type : {r_SpriteType::SolidCube, r_SpriteType::Breakable, r_SpriteType::Dangerous, r_SpriteType::Door}) {
        SpriteData data = Record(type, L"", 0, 584);
        data.isStatic = true;
        b2Body* body = CreateSpriteBody(&world, data, 64, 16);
        ASSERT_NE(body, nullptr);
        EXPECT_EQ(body->GetType(), b2_staticBody);
        EXPECT_NEAR(ToPixels(body->GetPosition().x), 32.0f, 1e-4);
        EXPECT_NEAR(ToPixels(body->GetPosition().y), 592.0f, 1e-4);
        b2AABB box = body->GetFixtureList()->GetAABB(0);
        // The box and its skin together span the sprite's rectangle.
        EXPECT_NEAR(ToPixels(box.upperBound.x - box.lowerBound.x), 64.0f, 0.01f);
        EXPECT_NEAR(ToPixels(box.upperBound.y - box.lowerBound.y), 16.0f, 0.01f);
        EXPECT_FLOAT_EQ(body->GetFixtureList()->GetRestitution(), 0.0f);
    }
    EXPECT_EQ(CreateSpriteBody(&world, Record(r_SpriteType::Background, L"", 0, 0), 32, 32), nullptr);
    EXPECT_EQ(world.GetBodyCount(), 4);
    EXPECT_EQ(CreateSpriteBody(nullptr, Record(r_SpriteType::SolidCube, L"", 0, 0), 32, 32), nullptr);
}
