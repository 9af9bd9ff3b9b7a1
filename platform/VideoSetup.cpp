#include "platform/VideoSetup.h"

#include <SDL.h>

#include <utility>

namespace {

constexpr int kAccumulationBits = 16;
constexpr int kColourBits = 8;
constexpr int kDepthBits = 24;
constexpr int kVideoStartAttempts = 3;
constexpr Uint32 kVideoRetryDelayMilliseconds = 20;

// Without a display SDL falls back to drivers that draw into memory only. A game that nobody
// can see or stop would run there, so they count only when chosen on purpose.
bool ShowsWindows() {
    const char* driver = SDL_GetCurrentVideoDriver();
    bool drawsIntoMemory = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    return !drawsIntoMemory || SDL_GetHint(SDL_HINT_VIDEODRIVER) != nullptr;
}

}  // namespace

// A busy X server now and then refuses a connection (seen with Xvfb under load), and SDL then
// falls back to a driver that shows nothing; such a start is tried again a few times.
VideoStart StartVideo() {
    for (int attempt = 1;; ++attempt) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            return VideoStart::Failed;
        }
        if (ShowsWindows()) {
            return VideoStart::Started;
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (attempt == kVideoStartAttempts) {
            return VideoStart::NoDisplay;
        }
        SDL_Delay(kVideoRetryDelayMilliseconds);
    }
}

bool RequestPixelFormat(bool withAccumulation) {
    int accumulationBits = withAccumulation ? kAccumulationBits : 0;
    const std::pair<SDL_GLattr, int> attributes[] = {
        {SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY},
        {SDL_GL_DOUBLEBUFFER, 1},
        {SDL_GL_RED_SIZE, kColourBits},
        {SDL_GL_GREEN_SIZE, kColourBits},
        {SDL_GL_BLUE_SIZE, kColourBits},
        {SDL_GL_ALPHA_SIZE, kColourBits},
        {SDL_GL_DEPTH_SIZE, kDepthBits},
        {SDL_GL_ACCUM_RED_SIZE, accumulationBits},
        {SDL_GL_ACCUM_GREEN_SIZE, accumulationBits},
        {SDL_GL_ACCUM_BLUE_SIZE, accumulationBits},
        {SDL_GL_ACCUM_ALPHA_SIZE, accumulationBits},
    };
    SDL_GL_ResetAttributes();
    for (const auto& attribute : attributes) {
        if (SDL_GL_SetAttribute(attribute.first, attribute.second) != 0) {
            return false;
        }
    }
    return true;
}
