// The scene enlarged by OpenGL: the graphics draw it at its own size in a corner of the
// window's frame buffer and, before the swap, draw it enlarged over the window between black
// bars (k_Graphics::PresentScene), filtered for smooth scaling.
#pragma once

#include "platform/ScenePresenter.h"

class IEngine;

class OpenGLScenePresenter : public ScenePresenter {
public:
    // The engine's graphics, looked up at each call, do the drawing; the window is drawn into.
    OpenGLScenePresenter(IEngine* engine, SDL_Window* window) : engine(engine), window(window) {}

    SDL_Window* GetSceneWindow() const override { return window; }
    void SetDisplay(int width, int height, SceneScaling scaling) override;
    void BeforeSwap() override;
    void AfterSwap() override {}

private:
    IEngine* engine;
    SDL_Window* window;
};
