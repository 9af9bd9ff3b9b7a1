#include "platform/k_ControllerKeys.h"

#include "platform/VirtualKeys.h"

namespace {

int KeyForButton(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return VK_LEFT;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return VK_RIGHT;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return VK_UP;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return VK_DOWN;
    case SDL_CONTROLLER_BUTTON_A:
        return VK_RETURN;
    case SDL_CONTROLLER_BUTTON_START:
        return VK_PAUSE;
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
        negativeKey = VK_LEFT;
        positiveKey = VK_RIGHT;
    } else if (event.axis == SDL_CONTROLLER_AXIS_LEFTY) {
        lean = &state.vertical;
        negativeKey = VK_UP;
        positiveKey = VK_DOWN;
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
    if (int key = KeyForLean(state.horizontal, VK_LEFT, VK_RIGHT)) {
        changes.push_back({key, false});
    }
    if (int key = KeyForLean(state.vertical, VK_UP, VK_DOWN)) {
        changes.push_back({key, false});
    }
    for (int key : state.heldButtonKeys) {
        changes.push_back({key, false});
    }
    controllers.erase(found);
    return changes;
}
