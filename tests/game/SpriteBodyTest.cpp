#include <gtest/gtest.h>

#include "game/PhysicsScale.h"
#include "game/SpriteBody.h"
#include "support/SpriteRecords.h"

// Spheres are bouncing circles, other bodied types boxes spanning the sprite's rectangle with
// their skin; scenery has no body.
TEST(SpriteBody, ShapeAndPlaceFollowTheTypeAndRectangle) {
    b2World world(b2Vec2(0, ToMetres(10.0f)));
    const struct { r_SpriteType::Value type; float width, height; b2BodyType body; float restitution; } cases[] = {
        {r_SpriteType::SolidSphere, 32, 32, b2_dynamicBody, 1.0f}, {r_SpriteType::SolidCube, 64, 16, b2_staticBody, 0},
        {r_SpriteType::Breakable, 64, 16, b2_staticBody, 0}, {r_SpriteType::Dangerous, 64, 16, b2_staticBody, 0},
        {r_SpriteType::Door, 16, 64, b2_staticBody, 0}};
    for (const auto& c : cases) {
        SpriteData data = Record(c.type, L"", 100, 200);
        data.isStatic = c.body == b2_staticBody;
        b2Body* body = CreateSpriteBody(&world, data, static_cast<int>(c.width), static_cast<int>(c.height));
        ASSERT_NE(body, nullptr) << c.type;
        EXPECT_EQ(body->GetType(), c.body);
        EXPECT_NEAR(ToPixels(body->GetPosition().x), 100 + c.width / 2, 1e-4) << c.type;
        EXPECT_NEAR(ToPixels(body->GetPosition().y), 200 + c.height / 2, 1e-4) << c.type;
        b2Fixture* fixture = body->GetFixtureList();
        EXPECT_EQ(fixture->GetType(), c.type == r_SpriteType::SolidSphere ? b2Shape::e_circle : b2Shape::e_polygon);
        b2AABB box = fixture->GetAABB(0);
        EXPECT_NEAR(ToPixels(box.upperBound.x - box.lowerBound.x), c.width, 0.01f) << c.type;
        EXPECT_NEAR(ToPixels(box.upperBound.y - box.lowerBound.y), c.height, 0.01f) << c.type;
        EXPECT_FLOAT_EQ(fixture->GetRestitution(), c.restitution);
        EXPECT_FLOAT_EQ(fixture->GetFriction(), 0.3f);
    }
    EXPECT_EQ(CreateSpriteBody(&world, Record(r_SpriteType::Background, L"", 0, 0), 32, 32), nullptr);
    EXPECT_EQ(world.GetBodyCount(), 5);
    EXPECT_EQ(CreateSpriteBody(nullptr, Record(r_SpriteType::SolidCube, L"", 0, 0), 32, 32), nullptr);
}
