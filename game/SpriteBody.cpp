#include "game/SpriteBody.h"

#include "game/PhysicsScale.h"

namespace {

constexpr float kDensity = 10.0f;
constexpr float kFriction = 0.3f;
constexpr float kSphereRestitution = 1.0f;
constexpr float kBoxRestitution = 0.0f;

// Polygons carry a skin of this thickness around them; boxes shrink by it so that stacked
// pieces rest flush against each other.
constexpr float kPolygonSkinMetres = b2_polygonRadius;

b2FixtureDef MaterialFixture(const b2Shape* shape, float restitution) {
    b2FixtureDef fixture;
    fixture.shape = shape;
    fixture.density = kDensity;
    fixture.friction = kFriction;
    fixture.restitution = restitution;
    fixture.restitutionThreshold = ToMetres(kRestitutionThresholdPixels);
    return fixture;
}

}  // namespace

b2Body* CreateSpriteBody(b2World* world, const SpriteData& data, int width, int height) {
    if (!world || data.type == r_SpriteType::Background) {
        return nullptr;
    }
    float halfWidth = width * 0.5f;
    float halfHeight = height * 0.5f;

    b2BodyDef definition;
    definition.type = data.isStatic ? b2_staticBody : b2_dynamicBody;
    definition.position = ToMetres(b2Vec2(data.left + halfWidth, data.top + halfHeight));
    b2Body* body = world->CreateBody(&definition);

    if (data.type == r_SpriteType::SolidSphere) {
        b2CircleShape circle;
        circle.m_radius = ToMetres(halfWidth);
        b2FixtureDef fixture = MaterialFixture(&circle, kSphereRestitution);
        body->CreateFixture(&fixture);
    } else {
        b2PolygonShape box;
        float skinned = kPolygonSkinMetres;
        box.SetAsBox(b2Max(ToMetres(halfWidth) - skinned, b2_linearSlop),
                     b2Max(ToMetres(halfHeight) - skinned, b2_linearSlop));
        b2FixtureDef fixture = MaterialFixture(&box, kBoxRestitution);
        body->CreateFixture(&fixture);
    }
    return body;
}
