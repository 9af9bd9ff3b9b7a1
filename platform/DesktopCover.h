// Makes a window that SDL put into desktop full screen really cover the display where no
// window manager is running (a bare X server such as Xvfb): there nobody answers the
// full-screen request and the window would keep its old size.
#pragma once

#include <SDL.h>

// Moves and resizes the window's X window over the whole display when it does not cover it
// yet; does nothing under other video drivers.
void CoverDisplayWithoutWindowManager(SDL_Window* window, int displayWidth, int displayHeight);
