// A hidden window with a current OpenGL compatibility context, for tests, benchmarks and
// tools that draw without showing anything. Asks for an accumulation buffer like the game.
#pragma once

#include <string>

class k_OffscreenContext {
public:
    // Opens the hidden window; check IsReady (and Error when it is not) before drawing.
    k_OffscreenContext(int width, int height);
    ~k_OffscreenContext();
    k_OffscreenContext(const k_OffscreenContext&) = delete;
    k_OffscreenContext& operator=(const k_OffscreenContext&) = delete;

    bool IsReady() const { return context != nullptr; }
    const std::string& Error() const { return error; }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }

private:
    int width;
    int height;
    void* window = nullptr;   // SDL_Window
    void* context = nullptr;  // SDL_GLContext
    std::string error;
};
