#include "platform/DesktopCover.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

void CoverDisplayWithoutWindowManager(SDL_Window* window, int displayWidth, int displayHeight) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    Display* display = info.info.x11.display;
    ::Window root = 0;
    int x = 0;
    int y = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    XSync(display, False);
    if (!XGetGeometry(display, info.info.x11.window, &root, &x, &y, &width, &height, &border, &depth)) {
        return;
    }
    if (static_cast<int>(width) == displayWidth && static_cast<int>(height) == displayHeight) {
        return;  // a window manager has done it
    }
    XMoveResizeWindow(display, info.info.x11.window, 0, 0, static_cast<unsigned int>(displayWidth),
                      static_cast<unsigned int>(displayHeight));
    XSync(display, False);
}
