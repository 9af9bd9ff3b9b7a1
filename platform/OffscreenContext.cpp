#include "platform/OffscreenContext.h"

#include <SDL.h>

#include "platform/VideoSetup.h"

k_OffscreenContext::k_OffscreenContext(int width, int height) : width(width), height(height) {
    if (StartVideo() != VideoStart::Started) {
        error = std::string("no display: ") + SDL_GetError();
        return;
    }
    for (bool withAccumulation : {true, false}) {
        if (!RequestPixelFormat(withAccumulation)) {
            continue;
        }
        SDL_Window* created = SDL_CreateWindow("offscreen", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!created) {
            continue;
        }
        SDL_GLContext glContext = SDL_GL_CreateContext(created);
        if (!glContext) {
            SDL_DestroyWindow(created);
            continue;
        }
        window = created;
        context = glContext;
        return;
    }
    error = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

k_OffscreenContext::~k_OffscreenContext() {
    if (context) {
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
    }
    if (window) {
        SDL_DestroyWindow(static_cast<SDL_Window*>(window));
    }
    if (context || window) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}
