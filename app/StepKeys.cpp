#include "app/StepKeys.h"

#include "IWindow.h"
#include "game/k_Ball.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowMessages.h"

namespace {

struct StepKey {
    StepKeys bit;
    int virtualKey;
};

constexpr StepKey kStepKeyTable[] = {
    {kStepLeft, VK_LEFT}, {kStepRight, VK_RIGHT}, {kStepUp, VK_UP}, {kStepDown, VK_DOWN}, {kStepEnter, VK_RETURN},
};

}  // namespace

StepKeys ReadStepKeys(IWindow& window) {
    StepKeys keys = 0;
    for (const StepKey& key : kStepKeyTable) {
        if (window.IsKeyDown(key.virtualKey)) {
            keys |= key.bit;
        }
    }
    return keys;
}

void PressStepKeys(IWindow& window, StepKeys keys) {
    for (const StepKey& key : kStepKeyTable) {
        const bool down = (keys & key.bit) != 0;
        if (window.IsKeyDown(key.virtualKey) != down) {
            window.HandleMessage(down ? WM_KEYDOWN : WM_KEYUP, static_cast<WParam>(key.virtualKey), 0);
        }
    }
}

bool IsStepKey(int virtualKey) {
    for (const StepKey& key : kStepKeyTable) {
        if (key.virtualKey == virtualKey) {
            return true;
        }
    }
    return false;
}

int BallStateFromKeys(StepKeys keys) { return k_Ball::StateForKeys((keys & kStepUp) != 0, (keys & kStepDown) != 0); }
