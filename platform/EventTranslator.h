// Turns one SDL event into the window message Windows would send for it, so that the window's
// message handling stays as it is and can be tested without a display.
#pragma once

#include <SDL.h>

#include "platform/MessagePump.h"

// Fills `message` and returns true for events that mean something to the window; returns
// false (leaving `message` as it was) for the others.
bool TranslateEvent(const SDL_Event& event, Message& message);

// The virtual-key code of an SDL key, or 0 for a key that has none.
int VirtualKeyFromKeycode(SDL_Keycode key);

// The event type that carries messages queued by PostMessage; 0 if SDL has no types left.
Uint32 PostedMessageEventType();
