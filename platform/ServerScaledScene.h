// Shows the fixed-size scene scaled to fill a larger window by the X server itself. The scene
// is drawn into a child window of the scene's size, which the server keeps off the screen
// and which lets the pointer through to the window; after each swap the server scales the
// child's picture into the window and blacks the bars. A software renderer then draws no
// more pixels than in a scene-sized window, and the scaling runs in the server, beside the
// game's next frame instead of in it. Smooth scaling filters bilinearly; sharp scaling
// enlarges by a whole multiple, pixel for pixel.
#pragma once

#include <SDL.h>

#include <memory>

#include "platform/ScenePresenter.h"

class IEngine;

class ServerScaledScene : public ScenePresenter {
public:
    // The scaled scene over the window, or null where the window is not on an X server or the
    // server lacks the extensions it needs (Composite, Render, XFixes); the caller then
    // scales with OpenGL. The window must own an OpenGL context, which is made current on the
    // child with the same pixel format. The engine's graphics are told to draw the scene at
    // its own size.
    static std::unique_ptr<ServerScaledScene> Create(IEngine* engine, SDL_Window* window, int sceneWidth,
                                                     int sceneHeight);
    ~ServerScaledScene() override;
    ServerScaledScene(const ServerScaledScene&) = delete;
    ServerScaledScene& operator=(const ServerScaledScene&) = delete;

    // The scene-sized child.
    SDL_Window* GetSceneWindow() const override { return sceneWindow; }
    void SetDisplay(int width, int height, SceneScaling scaling) override;
    void BeforeSwap() override {}
    // Asks the server to scale the swapped picture into the window; does not wait for it.
    void AfterSwap() override;

    // The server's objects behind the scene, defined where the X headers are included.
    struct XObjects;

private:
    ServerScaledScene(IEngine* engine, std::unique_ptr<XObjects> objects, SDL_Window* sceneWindow, int sceneWidth,
                      int sceneHeight);

    IEngine* engine;
    std::unique_ptr<XObjects> x;
    SDL_Window* sceneWindow;
    int sceneWidth;
    int sceneHeight;
    int displayWidth;
    int displayHeight;
    SceneScaling scaling = SceneScaling::Smooth;
};
