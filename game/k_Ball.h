// The player's ball: the picture "ball.png" drawn through the shared "ball.glsl" shader
// texture on a SolidSphere sprite that the engine knows as its player sprite. The texture
// and the shader texture belong to the engine's cache; the ball owns its sprite object.
#pragma once

#include <memory>

class IEngine;
class IShaderTexture;
class ISprite;
class ITexture;

class k_Ball {
public:
    // Makes the sprite at the start position, puts it into the scene with its body and makes
    // it the engine's player sprite.
    k_Ball();
    // The same at rest with its top-left corner at (left, top) of the screen.
    k_Ball(float left, float top);
    // Clears the engine's player sprite and queues the sprite for removal at the next frame.
    // The sprite object itself goes with the ball unless it was handed over first; then it
    // leaves the scene at once (never release a ball inside the physics step).
    virtual ~k_Ball();
    k_Ball(const k_Ball&) = delete;
    k_Ball& operator=(const k_Ball&) = delete;

    // 0 no key, 1 up held, 2 down held: fed to the shader's "ballState".
    virtual void SetState(int state);
    virtual int GetState();

    // Hands the sprite object to the caller, who releases it once the queued removal has run
    // (the next frame); the ball keeps using it until it is released itself.
    std::unique_ptr<ISprite> HandOverSprite();

private:
    IEngine* engine;
    int state = 0;
    ITexture* texture;
    IShaderTexture* shaderTexture;
    ISprite* sprite;
    std::unique_ptr<ISprite> ownedSprite;
};
