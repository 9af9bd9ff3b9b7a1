#include "platform/GLProcAddress.h"

#include <SDL.h>

void* GetGLProcAddress(const char* name) {
    return SDL_GL_GetProcAddress(name);
}

void* GetCurrentGLContext() {
    return SDL_GL_GetCurrentContext();
}
