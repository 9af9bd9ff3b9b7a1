#include "app/StepKeys.h"

#include "IEngine.h"
#include "IWindow.h"
#include "game/k_Ball.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowMessages.h"

namespace {

// The step bit of each action, by KeyAction; the menu key steers nothing.
constexpr StepKeys kActionBits[kKeyActionCount] = {kStepLeft, kStepRight, kStepUp, kStepDown, kStepEnter, 0};

std::array<int, kKeyActionCount> g_BoundKeys = GameSettings::DefaultKeys();
std::array<int, kKeyActionCount> g_BoundPads = GameSettings::DefaultPads();

SteeringKey BoundTo(KeyAction action) {
    const auto index = static_cast<std::size_t>(action);
    return {g_BoundKeys[index], g_BoundPads[index]};
}

}  // namespace

void BindStepKeys(IEngine& engine, const std::array<int, kKeyActionCount>& keys,
                  const std::array<int, kKeyActionCount>& pads) {
    g_BoundKeys = keys;
    g_BoundPads = pads;
    engine.SetSteeringKeys({BoundTo(KeyAction::Left), BoundTo(KeyAction::Right), BoundTo(KeyAction::Up),
                            BoundTo(KeyAction::Down)});
}

StepKeys StepKeysOfKey(int virtualKey) {
    for (std::size_t action = 0; action < kKeyActionCount; ++action) {
        if (g_BoundKeys[action] == virtualKey || g_BoundPads[action] == virtualKey) {
            return kActionBits[action];
        }
    }
    return 0;
}

StepKeys ReadStepKeys(IWindow& window) {
    StepKeys keys = 0;
    for (std::size_t action = 0; action < kKeyActionCount; ++action) {
        if (window.IsKeyDown(g_BoundKeys[action]) || window.IsKeyDown(g_BoundPads[action])) {
            keys |= kActionBits[action];
        }
    }
    return keys;
}

void PressStepKeys(IWindow& window, StepKeys keys) {
    for (std::size_t action = 0; action < kKeyActionCount; ++action) {
        if (kActionBits[action] == 0) {
            continue;
        }
        const int key = g_BoundKeys[action];
        const bool down = (keys & kActionBits[action]) != 0;
        if (window.IsKeyDown(key) != down) {
            window.HandleMessage(down ? WM_KEYDOWN : WM_KEYUP, static_cast<WParam>(key), 0);
        }
    }
}

bool IsStepKey(int virtualKey) { return StepKeysOfKey(virtualKey) != 0; }

int BallStateFromKeys(StepKeys keys) { return k_Ball::StateForKeys((keys & kStepUp) != 0, (keys & kStepDown) != 0); }
