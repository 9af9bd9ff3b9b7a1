// A live sprite: one textured rectangle placed on a screen, drawn at its record's position
// with its texture's size. Owns its record; the texture belongs to the engine's cache and
// the body to the engine's scene.
#pragma once

#include "IEngine.h"
#include "ISprite.h"

class k_Sprite : public ISprite {
public:
    // A sprite of the given type with an otherwise default record, no texture and no body.
    k_Sprite(IEngine* engine, int type);

    void SetData(const SpriteData& data) override;
    SpriteData& GetData() override;
    b2Body* CreateBody(b2World* world) override;
    void SetTexture(ITexture* texture) override;
    ITexture* GetTexture() override;
    // Draws the texture at (left, top); sprites outside the engine's highlighted layer are faded.
    void Draw() override;
    void SetTriggered(bool triggered) override;
    bool IsTriggered() override;

private:
    float Alpha();

    bool triggered = false;
    IEngine* engine;
    SpriteData data;
    ITexture* texture = nullptr;
    b2Body* body = nullptr;
};
