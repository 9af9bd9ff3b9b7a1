// The keys that steer the player's ball: for each direction a keyboard key and a controller
// button, either of which held in the window's key table steers. The game binds the player's
// own; until then the arrows and the d-pad steer.
#pragma once

#include "IWindow.h"

struct SteeringKey {
    int key = 0;
    int button = 0;

    bool IsHeld(IWindow& window) const { return window.IsKeyDown(key) || window.IsKeyDown(button); }
};

struct SteeringKeys {
    SteeringKey left;
    SteeringKey right;
    SteeringKey up;    // bounce high
    SteeringKey down;  // land softly
};

// The arrows and the d-pad (the left stick leans as the d-pad): what steers until the game binds
// the player's keys, and what the level editor's test play reads.
SteeringKeys DefaultSteeringKeys();
