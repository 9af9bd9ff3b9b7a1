#include "platform/OffscreenContext.h"

#include <SDL.h>

namespace {

void RequestPixelFormat(bool withAccumulation) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    int accumulationBits = withAccumulation ? 16 : 0;
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, accumulationBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, accumulationBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, accumulationBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, accumulationBits);
}

}  // namespace

k_OffscreenContext::k_OffscreenContext(int width, int height) : width(width), height(height) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = SDL_GetError();
        return;
    }
    for (bool withAccumulation : {true, false}) {
        RequestPixelFormat(withAccumulation);
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
