// One contact point that has come to an end, in the game's units: the two bodies (the box
// first against a circle), the unit normal from the first to the second, and the velocity
// of the point on the second body relative to the first, in pixels per time unit.
#pragma once

#include "PhysicsTypes.h"
#include "game/k_PhysicsWorld.h"

struct ContactPoint {
    b2Body* body1 = nullptr;
    b2Body* body2 = nullptr;
    PixelVector normal;
    PixelVector velocity;
};
