// Lets a game controller play through the window's keys: turns its events into presses and
// releases of keys of the controller's own (the d-pad's, which the left stick presses too, A,
// B, X, Y, the shoulders, the stick buttons and Start), which the game binds to its actions,
// and Back into Escape. Keeps each controller's stick direction and held buttons, so that a stick swept
// from one side to the other releases one key and presses the other, and a controller pulled
// out releases what it held. Opens no device itself.
#pragma once

#include <SDL.h>

#include <map>
#include <set>
#include <vector>

class k_ControllerKeys {
public:
    struct KeyChange {
        int virtualKey = 0;
        bool down = false;
        bool operator==(const KeyChange& other) const { return virtualKey == other.virtualKey && down == other.down; }
    };

    // How far the stick must lean (of 32767) before it counts as an arrow key.
    static constexpr Sint16 kStickDeadZone = 8000;

    // The key changes the event means, in the order they happen; none for events of no
    // controller and for buttons and axes that stand for no key.
    std::vector<KeyChange> Translate(const SDL_Event& event);

private:
    // A stick axis leans -1 (left or up), 0 or +1 (right or down).
    struct ControllerState {
        int horizontal = 0;
        int vertical = 0;
        std::set<int> heldButtonKeys;
    };

    std::vector<KeyChange> TranslateButton(const SDL_ControllerButtonEvent& event);
    std::vector<KeyChange> TranslateAxis(const SDL_ControllerAxisEvent& event);
    std::vector<KeyChange> ReleaseAll(SDL_JoystickID controller);

    std::map<SDL_JoystickID, ControllerState> controllers;
};
