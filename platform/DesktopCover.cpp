#include "platform/DesktopCover.h"

#ifdef ROLLANDIA_X11
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#endif

namespace {

#ifdef ROLLANDIA_X11
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
#endif

}  // namespace

bool CoverDesktop(SDL_Window* window, int displayWidth, int displayHeight) {
#ifdef ROLLANDIA_X11
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        return false;
    }
    CoverDisplayWithoutWindowManager(window, displayWidth, displayHeight);
    return true;
#else
    // SDL resizes a window only while it is not in full screen, and a size set in full screen
    // becomes the size it returns to.
    int windowedWidth = 0;
    int windowedHeight = 0;
    SDL_GetWindowSize(window, &windowedWidth, &windowedHeight);
    SDL_SetWindowPosition(window, 0, 0);
    SDL_SetWindowSize(window, displayWidth, displayHeight);
    const bool covered = SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    SDL_SetWindowSize(window, windowedWidth, windowedHeight);
    return covered;
#endif
}
