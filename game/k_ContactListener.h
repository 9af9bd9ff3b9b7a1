// The world's contact listener: turns the ball's ended contacts into the game's events. It
// limits the speed of the bounce, works out how hard the ball was moving, and breaks a
// breakable piece, kills the player on a dangerous one or plays a bounce sound. Anything
// that would change the set of bodies is only queued for the next frame.
#pragma once

#include "game/k_ContactAdapter.h"

class IEngine;
struct SteeringKeys;
class ISprite;
class k_PhysicsWorld;

class k_ContactListener : public k_ContactAdapter {
public:
    // Reads the scene, held keys and player from engine, which of them steer up and down from
    // steering (kept by the caller); velocities through physics, in pixels.
    k_ContactListener(IEngine* engine, k_PhysicsWorld* physics, const SteeringKeys* steering);

    void Remove(const ContactPoint& point) override;

private:
    ISprite* FindSpriteOf(b2Body* body);
    int HeldKeysRow();
    void LimitBounce(b2Body* ball, const ContactPoint& point);
    void RaiseEvent(ISprite* touched, int speedIndex);

    IEngine* engine;
    k_PhysicsWorld* physics;
    const SteeringKeys* steering;
};
