// Builds the rigid body of a placed sprite: a circle for a SolidSphere, an upright box for
// every other bodied type, centred on the sprite's rectangle. Does not include the physics
// library's headers, so callers outside game/ can use it.
#pragma once

#include "PhysicsTypes.h"
#include "SpriteData.h"

// The body for a sprite whose texture is width x height pixels, or null when there is no
// world or the sprite's type has no body (Background).
b2Body* CreateSpriteBody(b2World* world, const SpriteData& data, int width, int height);
