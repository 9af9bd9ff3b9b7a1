// The rigid-body world in the game's units: pixels, gravity (0, 10) towards the bottom of
// the screen, a world box of half a view's size around the view. Owns the physics
// library's world and every body in it; callers hold bodies by pointer and use the
// operations here, which convert to and from the library's metres. A failure raised by the
// contact listener inside the library is re-raised once the world is unlocked again.
#pragma once

#include <cstdint>

#include "PhysicsTypes.h"

class k_ContactAdapter;

struct PixelVector {
    float x = 0.0f;
    float y = 0.0f;
};

class k_PhysicsWorld {
public:
    // viewSize: the screen's width and height in pixels, the view whose bodies are simulated.
    explicit k_PhysicsWorld(PixelVector viewSize);
    ~k_PhysicsWorld();
    k_PhysicsWorld(const k_PhysicsWorld&) = delete;
    k_PhysicsWorld& operator=(const k_PhysicsWorld&) = delete;

    b2World* GetWorld() { return world; }
    // The listener (or null) that hears of every contact; not owned.
    void SetContactListener(k_ContactAdapter* listener);

    // Advances the simulation; then limits every speed to the maximum and stops simulating
    // bodies that have left the world box.
    void Step(float timeStep, int iterations);

    // Ends the body's contacts (the listener hears of them) and destroys it.
    void DestroyBody(b2Body* body);
    // The body never falls asleep, so changes to its bounce always reach its contacts.
    void KeepAwake(b2Body* body);
    PixelVector GetPosition(b2Body* body) const;
    PixelVector GetVelocity(b2Body* body) const;
    void SetVelocity(b2Body* body, PixelVector velocity);
    // Sets the restitution of the body's first shape; it governs the contacts of the next step.
    void SetRestitution(b2Body* body, float restitution);
    // Moves the body (and wakes it, so it does not hover with stale contacts).
    void MoveBody(b2Body* body, PixelVector position, float angle);
    // A digest of every body's position, angle and velocities, in the world's body order.
    std::uint64_t StateDigest() const;

private:
    bool LiesOutsideWorldBox(b2Body* body) const;
    void LimitSpeedsAndDisableBodiesOutsideWorldBox();
    void RethrowListenerFailure();

    b2World* world;
    PixelVector viewSize;
    k_ContactAdapter* contactListener = nullptr;
};
