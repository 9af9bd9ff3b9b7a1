// A live sprite: a textured rectangle placed on a screen, built from a SpriteData record.
#pragma once

#include "PhysicsTypes.h"
#include "SpriteData.h"

class ITexture;

class ISprite {
public:
    virtual ~ISprite() = default;

    virtual void SetData(const SpriteData& data) = 0;
    virtual SpriteData& GetData() = 0;
    // Makes the sprite's body in world; null for a Background sprite.
    virtual b2Body* CreateBody(b2World* world) = 0;
    // Stores the texture and copies its name into the record. texture must not be null.
    virtual void SetTexture(ITexture* texture) = 0;
    virtual ITexture* GetTexture() = 0;
    virtual void Draw() = 0;
    virtual void SetTriggered(bool triggered) = 0;
    virtual bool IsTriggered() = 0;
};
