#include "game/k_ContactListener.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "IEngine.h"
#include "ISprite.h"
#include "IWindow.h"
#include "SteeringKeys.h"

namespace {

struct SpeedRange {
    float low;
    float high;
};

// Bounce limits in pixels per time unit, by the keys held: none, Up, Down (Down wins).
enum KeyRow { kNoKey, kUpHeld, kDownHeld };
constexpr SpeedRange kWallRanges[] = {{5.0f, 50.0f}, {5.0f, 70.0f}, {3.0f, 15.0f}};
constexpr SpeedRange kFloorRanges[] = {{20.0f, 50.0f}, {20.0f, 70.0f}, {15.0f, 40.0f}};

// The speed index grows by 5 for every 70 of speed: index = 1 + (5 * (speed / 10)) / 7.
constexpr float kSpeedPerStep = 10.0f;
constexpr int kIndexGrowth = 5;
constexpr int kStepsPerGrowth = 7;
// Far beyond any speed the world allows; keeps the index arithmetic within int.
constexpr float kLargestIndexedSpeed = 1.0e6f;
// A breakable piece breaks from this index on (a speed of 50).
constexpr int kBreakingIndex = 4;

constexpr int kSoundNameCapacity = 255;
const wchar_t* const kBounceSoundFormat = L"sounds\\s%d.wav";
const wchar_t* const kExplosionSound = L"sounds\\explosion.wav";
const wchar_t* const kDeathSound = L"sounds\\die.wav";

int SpeedIndex(PixelVector velocity) {
    float speed = std::fmin(std::hypot(velocity.x, velocity.y), kLargestIndexedSpeed);
    int steps = static_cast<int>(speed / kSpeedPerStep);
    return 1 + (kIndexGrowth * steps) / kStepsPerGrowth;
}

}  // namespace

k_ContactListener::k_ContactListener(IEngine* engine, k_PhysicsWorld* physics, const SteeringKeys* steering)
    : engine(engine), physics(physics), steering(steering) {}

void k_ContactListener::Remove(const ContactPoint& point) {
    ISprite* player = engine->GetPlayerSprite();
    if (!player) {
        return;
    }
    auto ballEntry = engine->GetScene().find(player);
    b2Body* ball = ballEntry == engine->GetScene().end() ? nullptr : ballEntry->second;
    if (!ball) {
        return;
    }
    b2Body* other = point.body1 == ball ? point.body2 : point.body2 == ball ? point.body1 : nullptr;
    if (!other) {
        return;
    }
    ISprite* touched = FindSpriteOf(other);
    LimitBounce(ball, point);
    int speedIndex = SpeedIndex(physics->GetVelocity(ball));
    if (touched) {
        engine->OnHit(touched);
        RaiseEvent(touched, speedIndex);
    }
}

// Several sprites holding the same body cannot happen in the game; the last one wins.
ISprite* k_ContactListener::FindSpriteOf(b2Body* body) {
    ISprite* found = nullptr;
    for (const auto& [sprite, spriteBody] : engine->GetScene()) {
        if (spriteBody == body) {
            found = sprite;
        }
    }
    return found;
}

int k_ContactListener::HeldKeysRow() {
    IWindow* window = engine->GetWindow();
    if (!window) {
        return kNoKey;
    }
    if (steering->down.IsHeld(*window)) {
        return kDownHeld;
    }
    return steering->up.IsHeld(*window) ? kUpHeld : kNoKey;
}

// Off a wall the horizontal speed is kept within the range on its side (a ball at rest goes
// off to the left); leaving a floor upwards, the upward speed is (y grows downwards).
void k_ContactListener::LimitBounce(b2Body* ball, const ContactPoint& point) {
    PixelVector velocity = physics->GetVelocity(ball);
    if (point.normal.y == 0.0f) {
        SpeedRange range = kWallRanges[HeldKeysRow()];
        velocity.x = velocity.x > 0.0f ? std::clamp(velocity.x, range.low, range.high)
                                       : std::clamp(velocity.x, -range.high, -range.low);
    } else if (point.velocity.y < 0.0f && point.normal.x == 0.0f) {
        SpeedRange range = kFloorRanges[HeldKeysRow()];
        velocity.y = std::clamp(velocity.y, -range.high, -range.low);
    } else {
        return;
    }
    physics->SetVelocity(ball, velocity);
}

void k_ContactListener::RaiseEvent(ISprite* touched, int speedIndex) {
    SpriteData& data = touched->GetData();
    if (data.type == r_SpriteType::Breakable && speedIndex >= kBreakingIndex) {
        data.broken = true;
        engine->QueueRemoveSprite(touched);
        engine->PlaySound(kExplosionSound);
        touched->SetTriggered(true);
    } else if (data.type == r_SpriteType::Dangerous) {
        engine->Kill();
        engine->PlaySound(kDeathSound);
    } else {
        wchar_t name[kSoundNameCapacity];
        std::swprintf(name, kSoundNameCapacity, kBounceSoundFormat, speedIndex);
        engine->PlaySound(name);
    }
}
