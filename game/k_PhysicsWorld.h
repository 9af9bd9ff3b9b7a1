// The rigid-body world in the game's units: pixels, gravity (0, 10) towards the bottom of
// the screen, a world box of half a screen around the 800 x 600 view. Owns the physics
// library's world and every body in it; callers hold bodies by pointer and use the
// operations here, which convert to and from the library's metres.
#pragma once

#include "PhysicsTypes.h"

class b2ContactListener;

struct PixelVector {
    float x = 0.0f;
    float y = 0.0f;
};

class k_PhysicsWorld {
public:
    k_PhysicsWorld();
    ~k_PhysicsWorld();
    k_PhysicsWorld(const k_PhysicsWorld&) = delete;
    k_PhysicsWorld& operator=(const k_PhysicsWorld&) = delete;

    b2World* GetWorld() { return world; }
    void SetContactListener(b2ContactListener* listener);

    // Advances the simulation; then limits every speed to the maximum and stops simulating
    // bodies that have left the world box.
    void Step(float timeStep, int iterations);

    void DestroyBody(b2Body* body);
    PixelVector GetPosition(b2Body* body) const;
    PixelVector GetVelocity(b2Body* body) const;
    void SetVelocity(b2Body* body, PixelVector velocity);
    // Sets the restitution of the body's first shape; it governs the contacts of the next step.
    void SetRestitution(b2Body* body, float restitution);
    // Moves the body (and wakes it, so it does not hover with stale contacts).
    void MoveBody(b2Body* body, PixelVector position, float angle);

private:
    void LimitSpeeds();
    void DisableBodiesOutsideWorldBox();

    b2World* world;
};
