// Puts a window into full screen at the desktop's own mode and makes it really cover the
// display also where no window manager is running (a bare X server such as Xvfb): there
// nobody answers the full-screen request and the window would keep its old size.
#pragma once

#include <SDL.h>

// Asks for desktop full screen and makes the window cover the display of this size; false
// when the request is refused. Through Xlib the window is resized afterwards only when it does
// not cover the display yet; without Xlib it is moved and sized over the display beforehand,
// and its windowed size is kept for when it leaves full screen.
bool CoverDesktop(SDL_Window* window, int displayWidth, int displayHeight);
