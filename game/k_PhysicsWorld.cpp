#include "game/k_PhysicsWorld.h"

#include "base/Digest.h"
#include "game/PhysicsScale.h"
#include "game/k_ContactAdapter.h"

namespace {

constexpr float kGravityPixels = 10.0f;
// The world box is the view with this share of its size as a margin on every side.
constexpr float kWorldBoxMargin = 0.5f;
// The fastest any body may move, in pixels per time unit.
constexpr float kMaximumSpeedPixels = 200.0f;
// Continuous collision keeps fast pieces from passing through thin ones, but its cost grows
// with the square of the pieces that touch: a screen crowded far beyond what any level holds
// steps without it, so that it still shows several pictures a second.
constexpr int kContinuousCollisionBodyLimit = 400;

b2Vec2 ToVector(PixelVector pixels) { return ToMetres(b2Vec2(pixels.x, pixels.y)); }

PixelVector ToPixelVector(b2Vec2 metres) {
    b2Vec2 pixels = ToPixels(metres);
    return PixelVector{pixels.x, pixels.y};
}

}  // namespace

k_PhysicsWorld::k_PhysicsWorld(PixelVector viewSize)
    : world(new b2World(b2Vec2(0.0f, ToMetres(kGravityPixels)))), viewSize(viewSize) {
    world->SetAllowSleeping(true);
}

k_PhysicsWorld::~k_PhysicsWorld() { delete world; }

bool k_PhysicsWorld::LiesOutsideWorldBox(b2Body* body) const {
    b2AABB bounds;
    bounds.lowerBound = b2Vec2(b2_maxFloat, b2_maxFloat);
    bounds.upperBound = b2Vec2(-b2_maxFloat, -b2_maxFloat);
    for (b2Fixture* fixture = body->GetFixtureList(); fixture; fixture = fixture->GetNext()) {
        for (int child = 0; child < fixture->GetShape()->GetChildCount(); ++child) {
            bounds.Combine(fixture->GetAABB(child));
        }
    }
    if (!body->GetFixtureList()) {
        bounds.lowerBound = bounds.upperBound = body->GetPosition();
    }
    const PixelVector margin{viewSize.x * kWorldBoxMargin, viewSize.y * kWorldBoxMargin};
    return bounds.upperBound.x < ToMetres(-margin.x) || bounds.lowerBound.x > ToMetres(viewSize.x + margin.x) ||
           bounds.upperBound.y < ToMetres(-margin.y) || bounds.lowerBound.y > ToMetres(viewSize.y + margin.y);
}

void k_PhysicsWorld::SetContactListener(k_ContactAdapter* listener) {
    contactListener = listener;
    world->SetContactListener(listener);
}

// The whole step runs to its end even when the listener failed; the failure comes after.
void k_PhysicsWorld::Step(float timeStep, int iterations) {
    world->SetContinuousPhysics(world->GetBodyCount() <= kContinuousCollisionBodyLimit);
    world->Step(timeStep, iterations, iterations);
    LimitSpeedsAndDisableBodiesOutsideWorldBox();
    RethrowListenerFailure();
}

void k_PhysicsWorld::RethrowListenerFailure() {
    if (contactListener) {
        contactListener->RethrowPendingFailure();
    }
}

// One pass over the bodies: stepping a large screen is bound by memory, not arithmetic.
void k_PhysicsWorld::LimitSpeedsAndDisableBodiesOutsideWorldBox() {
    const float maximum = ToMetres(kMaximumSpeedPixels);
    for (b2Body* body = world->GetBodyList(); body; body = body->GetNext()) {
        if (body->GetType() == b2_staticBody || !body->IsEnabled()) {
            continue;
        }
        b2Vec2 velocity = body->GetLinearVelocity();
        float speed = velocity.Length();
        if (speed > maximum) {
            body->SetLinearVelocity((maximum / speed) * velocity);
        }
        if (LiesOutsideWorldBox(body)) {
            body->SetEnabled(false);
        }
    }
}

void k_PhysicsWorld::DestroyBody(b2Body* body) {
    world->DestroyBody(body);
    RethrowListenerFailure();
}

void k_PhysicsWorld::KeepAwake(b2Body* body) { body->SetSleepingAllowed(false); }

PixelVector k_PhysicsWorld::GetPosition(b2Body* body) const { return ToPixelVector(body->GetPosition()); }

PixelVector k_PhysicsWorld::GetVelocity(b2Body* body) const { return ToPixelVector(body->GetLinearVelocity()); }

void k_PhysicsWorld::SetVelocity(b2Body* body, PixelVector velocity) { body->SetLinearVelocity(ToVector(velocity)); }

void k_PhysicsWorld::SetRestitution(b2Body* body, float restitution) {
    if (b2Fixture* fixture = body->GetFixtureList()) {
        fixture->SetRestitution(restitution);
    }
}

void k_PhysicsWorld::MoveBody(b2Body* body, PixelVector position, float angle) {
    body->SetTransform(ToVector(position), angle);
    body->SetAwake(true);
}

std::uint64_t k_PhysicsWorld::StateDigest() const {
    Digest digest;
    for (const b2Body* body = world->GetBodyList(); body; body = body->GetNext()) {
        digest.AddValue(body->GetPosition().x);
        digest.AddValue(body->GetPosition().y);
        digest.AddValue(body->GetAngle());
        digest.AddValue(body->GetLinearVelocity().x);
        digest.AddValue(body->GetLinearVelocity().y);
        digest.AddValue(body->GetAngularVelocity());
    }
    return digest.Value();
}
