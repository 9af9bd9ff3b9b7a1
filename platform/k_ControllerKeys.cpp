#include "platform/k_ControllerKeys.h"

#include "platform/VirtualKeys.h"

namespace {

// Back quits as Escape does; every other button is a key of its own, for the game to bind.
int KeyForButton(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return VK_GAMEPAD_DPAD_LEFT;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return VK_GAMEPAD_DPAD_RIGHT;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return VK_GAMEPAD_DPAD_UP;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return VK_GAMEPAD_DPAD_DOWN;
    case SDL_CONTROLLER_BUTTON_A:
        return VK_GAMEPAD_A;
    case SDL_CONTROLLER_BUTTON_B:
        return VK_GAMEPAD_B;
    case SDL_CONTROLLER_BUTTON_X:
        return VK_GAMEPAD_X;
    case SDL_CONTROLLER_BUTTON_Y:
        return VK_GAMEPAD_Y;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return VK_GAMEPAD_LEFT_SHOULDER;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return VK_GAMEPAD_RIGHT_SHOULDER;
    case SDL_CONTROLLER_BUTTON_LEFTSTICK:
        return VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON;
    case SDL_CONTROLLER_BUTTON_RIGHTSTICK:
        return VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON;
    case SDL_CONTROLLER_BUTTON_START:
        return VK_GAMEPAD_MENU;
    case SDL_CONTROLLER_BUTTON_BACK:
        return VK_ESCAPE;
    default:
        return 0;
    }
}

int Lean(Sint16 value) {
    if (value < -k_ControllerKeys::kStickDeadZone) {
        return -1;
    }
    return value > k_ControllerKeys::kStickDeadZone ? 1 : 0;
}

// The arrow key of a lean along one axis; 0 for the middle.
int KeyForLean(int lean, int negativeKey, int positiveKey) {
    if (lean == 0) {
        return 0;
    }
    return lean < 0 ? negativeKey : positiveKey;
}

}  // namespace

std::vector<k_ControllerKeys::KeyChange> k_ControllerKeys::Translate(const SDL_Event& event) {
    switch (event.type) {
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        return TranslateButton(event.cbutton);
    case SDL_CONTROLLERAXISMOTION:
        return TranslateAxis(event.caxis);
    case SDL_CONTROLLERDEVICEREMOVED:
        return ReleaseAll(event.cdevice.which);
    default:
        return {};
    }
}

std::vector<k_ControllerKeys::KeyChange> k_ControllerKeys::TranslateButton(const SDL_ControllerButtonEvent& event) {
    int key = KeyForButton(event.button);
    if (key == 0) {
        return {};
    }
    bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
    std::set<int>& held = controllers[event.which].heldButtonKeys;
    if (down) {
        held.insert(key);
    } else {
        held.erase(key);
    }
    return {{key, down}};
}

// Only a change of lean presses or releases: the stick reports every small movement.
std::vector<k_ControllerKeys::KeyChange> k_ControllerKeys::TranslateAxis(const SDL_ControllerAxisEvent& event) {
    ControllerState& state = controllers[event.which];
    int* lean = nullptr;
    int negativeKey = 0;
    int positiveKey = 0;
    if (event.axis == SDL_CONTROLLER_AXIS_LEFTX) {
        lean = &state.horizontal;
        negativeKey = VK_GAMEPAD_DPAD_LEFT;
        positiveKey = VK_GAMEPAD_DPAD_RIGHT;
    } else if (event.axis == SDL_CONTROLLER_AXIS_LEFTY) {
        lean = &state.vertical;
        negativeKey = VK_GAMEPAD_DPAD_UP;
        positiveKey = VK_GAMEPAD_DPAD_DOWN;
    } else {
        return {};
    }
    int newLean = Lean(event.value);
    if (newLean == *lean) {
        return {};
    }
    std::vector<KeyChange> changes;
    if (int released = KeyForLean(*lean, negativeKey, positiveKey)) {
        changes.push_back({released, false});
    }
    if (int pressed = KeyForLean(newLean, negativeKey, positiveKey)) {
        changes.push_back({pressed, true});
    }
    *lean = newLean;
    return changes;
}

std::vector<k_ControllerKeys::KeyChange> k_ControllerKeys::ReleaseAll(SDL_JoystickID controller) {
    auto found = controllers.find(controller);
    if (found == controllers.end()) {
        return {};
    }
    const ControllerState& state = found->second;
    std::vector<KeyChange> changes;
    if (int key = KeyForLean(state.horizontal, VK_GAMEPAD_DPAD_LEFT, VK_GAMEPAD_DPAD_RIGHT)) {
        changes.push_back({key, false});
    }
    if (int key = KeyForLean(state.vertical, VK_GAMEPAD_DPAD_UP, VK_GAMEPAD_DPAD_DOWN)) {
        changes.push_back({key, false});
    }
    for (int key : state.heldButtonKeys) {
        changes.push_back({key, false});
    }
    controllers.erase(found);
    return changes;
}
