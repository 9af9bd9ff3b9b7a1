// The engine's frame update: deferred death and removals, the door rule, two physics
// sub-steps with steering and motion blur, the frame hook, screen changes at the edges and
// re-seating the player's body.
#include "engine/k_Engine.h"

#include <cmath>
#include <optional>

#include "IGraphics.h"
#include "IUniverse.h"
#include "IWindow.h"
#include "game/k_PhysicsWorld.h"
#include "platform/VirtualKeys.h"
#include "world/ScreenGeometry.h"

namespace {

constexpr int kSubSteps = 2;
constexpr float kSubStepShare = 0.5f;
constexpr float kPhysicsTimeScale = 12.0f;
constexpr int kPhysicsIterations = 1;
constexpr float kSteeringRate = 100.0f;
constexpr float kStopThreshold = 1.0f;
constexpr float kBounceWithUp = 1.3f;
constexpr float kBounceWithDown = 0.6f;
constexpr float kBounceNormal = 0.9f;
constexpr float kAccumulationWeight = 0.5f;

IScreen* CurrentScreen(IUniverse* universe) {
    IWorld* world = universe->GetCurrentWorld();
    return world ? world->GetCurrentScreen() : nullptr;
}

IScreen* NeighbourThrough(IScreen& screen, ScreenEdge edge) {
    switch (edge) {
        case ScreenEdge::Left: return screen.GetLeft();
        case ScreenEdge::Right: return screen.GetRight();
        case ScreenEdge::Top: return screen.GetAbove();
        case ScreenEdge::Bottom: return screen.GetBelow();
    }
    return nullptr;
}

}  // namespace

void k_Engine::Update(float dt) { RunFrame(dt, true); }

void k_Engine::Simulate(float dt) { RunFrame(dt, false); }

bool k_Engine::IsDeathRequested() { return deathRequested; }

std::uint64_t k_Engine::GetStateDigest() { return physics ? physics->StateDigest() : 0; }

void k_Engine::RunFrame(float dt, bool draw) {
    if (draw) {
        graphics->Clear();
    }
    RunRequestedDeath();
    RunQueuedRemovals();
    OpenDoorsWhenAllPiecesBroken();
    for (int step = 0; step < kSubSteps; ++step) {
        RunSubStep(dt, draw);
    }
    if (draw) {
        graphics->ShowAccumulated();
        if (frameCallback) {
            frameCallback(frameCallbackData);
        }
    }
    ChangeScreenAtEdges();
    ReseatPlayerBody();
}

void k_Engine::RunRequestedDeath() {
    if (!deathRequested) {
        return;
    }
    if (deathCallback) {
        deathCallback(nullptr);
    }
    deathRequested = false;
}

void k_Engine::RunQueuedRemovals() {
    // RemoveSprite edits the queue, so the queued sprites are taken out of it first.
    std::vector<ISprite*> queued;
    queued.swap(removalQueue);
    for (ISprite* sprite : queued) {
        RemoveSprite(sprite);
    }
}

void k_Engine::OpenDoorsWhenAllPiecesBroken() {
    IScreen* screen = CurrentScreen(universe.get());
    if (!screen) {
        return;
    }
    std::vector<ISprite*> closedDoors;
    bool allPiecesBroken = true;
    for (const auto& sprite : screen->GetSprites()) {
        r_SpriteType::Value type = sprite->GetData().type;
        if (type == r_SpriteType::Door && !sprite->IsTriggered()) {
            closedDoors.push_back(sprite.get());
        } else if (type == r_SpriteType::Breakable && !sprite->IsTriggered()) {
            allPiecesBroken = false;
        }
    }
    if (closedDoors.empty() || !allPiecesBroken) {
        return;
    }
    for (ISprite* door : closedDoors) {
        door->SetTriggered(true);
        RemoveSprite(door);
    }
}

void k_Engine::RunSubStep(float dt, bool draw) {
    time += dt * kSubStepShare;
    SteerPlayer(dt);
    if (physics) {
        physics->Step(dt * kPhysicsTimeScale * kSubStepShare, kPhysicsIterations);
    }
    MoveSpritesWithBodies();
    if (draw) {
        graphics->AccumulateScene(kAccumulationWeight);
    }
}

b2Body* k_Engine::PlayerBody() {
    if (!playerSprite || !physics) {
        return nullptr;
    }
    auto entry = scene.find(playerSprite);
    return entry == scene.end() ? nullptr : entry->second;
}

void k_Engine::SteerPlayer(float dt) {
    b2Body* body = PlayerBody();
    if (!body) {
        return;
    }
    const float change = kSteeringRate * dt * kSubStepShare;
    PixelVector velocity = physics->GetVelocity(body);
    if (steering.right.IsHeld(*window)) {
        velocity.x += change;
    } else if (steering.left.IsHeld(*window)) {
        velocity.x -= change;
    } else if (std::fabs(velocity.x) >= kStopThreshold) {
        velocity.x -= (velocity.x > 0.0f ? 1.0f : -1.0f) * change;
    } else {
        velocity.x = 0.0f;
    }
    physics->SetVelocity(body, velocity);

    const float bounce = steering.up.IsHeld(*window)     ? kBounceWithUp
                         : steering.down.IsHeld(*window) ? kBounceWithDown
                                                         : kBounceNormal;
    physics->SetRestitution(body, bounce);
}

void k_Engine::MoveSpritesWithBodies() {
    if (!physics) {
        return;
    }
    for (const auto& [sprite, body] : scene) {
        SpriteData& data = sprite->GetData();
        ITexture* texture = sprite->GetTexture();
        if (!body || !texture || data.type == r_SpriteType::Background || data.isStatic) {
            continue;
        }
        PixelVector position = physics->GetPosition(body);
        data.left = position.x - texture->GetWidth() * 0.5f;
        data.top = position.y - texture->GetHeight() * 0.5f;
    }
}

void k_Engine::ChangeScreenAtEdges() {
    IWorld* world = universe->GetCurrentWorld();
    IScreen* screen = world ? world->GetCurrentScreen() : nullptr;
    if (!playerSprite || !screen) {
        return;
    }
    SpriteData& data = playerSprite->GetData();
    std::optional<EdgeCrossing> crossing = EdgeCrossed(data.left, data.top);
    if (!crossing) {
        return;
    }
    IScreen* next = NeighbourThrough(*screen, crossing->edge);
    if (next) {
        data.left += crossing->shiftLeft;
        data.top += crossing->shiftTop;
        world->SetCurrentScreen(next);
    } else {
        OnEdge();
    }
}

void k_Engine::SetPlayerVelocity(float x, float y) {
    if (b2Body* body = PlayerBody()) {
        physics->SetVelocity(body, PixelVector{x, y});
    }
}

SteeringKeys DefaultSteeringKeys() {
    return {{VK_LEFT, VK_GAMEPAD_DPAD_LEFT},
            {VK_RIGHT, VK_GAMEPAD_DPAD_RIGHT},
            {VK_UP, VK_GAMEPAD_DPAD_UP},
            {VK_DOWN, VK_GAMEPAD_DPAD_DOWN}};
}

void k_Engine::SetSteeringKeys(const SteeringKeys& keys) { steering = keys; }

void k_Engine::ReseatPlayerBody() {
    b2Body* body = PlayerBody();
    ITexture* texture = playerSprite ? playerSprite->GetTexture() : nullptr;
    if (!body || !texture || !universe->GetCurrentWorld()) {
        return;
    }
    const SpriteData& data = playerSprite->GetData();
    physics->MoveBody(body, PixelVector{data.left + texture->GetWidth() * 0.5f, data.top + texture->GetHeight() * 0.5f},
                      0.0f);
}
