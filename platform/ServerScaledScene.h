// Shows the fixed-size scene scaled to fill a larger window by the X server itself. The scene
// is drawn into a child window of the scene's size, which the server keeps off the screen
// and which lets the pointer through to the window; after each swap the server scales the
// child's picture into the window and blacks the bars. A software renderer then draws no
// more pixels than in a scene-sized window, and the scaling runs in the server, beside the
// game's next frame instead of in it.
#pragma once

#include <SDL.h>

#include <memory>

class ServerScaledScene {
public:
    // The scaled scene over the window, or null where the window is not on an X server or the
    // server lacks the extensions it needs (Composite, Render, XFixes); the caller then
    // scales with OpenGL. The window must own an OpenGL context, which is made current on the
    // child with the same pixel format.
    static std::unique_ptr<ServerScaledScene> Create(SDL_Window* window, int sceneWidth, int sceneHeight);
    ~ServerScaledScene();
    ServerScaledScene(const ServerScaledScene&) = delete;
    ServerScaledScene& operator=(const ServerScaledScene&) = delete;

    // The window OpenGL draws the scene into and swaps.
    SDL_Window* GetSceneWindow() const { return sceneWindow; }
    // Fits the scene into a window of this size from the next Present on.
    void SetDisplaySize(int width, int height);
    // Asks the server to scale the swapped picture into the window; does not wait for it.
    void Present();

    // The server's objects behind the scene, defined where the X headers are included.
    struct XObjects;

private:
    ServerScaledScene(std::unique_ptr<XObjects> objects, SDL_Window* sceneWindow, int sceneWidth, int sceneHeight);

    std::unique_ptr<XObjects> x;
    SDL_Window* sceneWindow;
    int sceneWidth;
    int sceneHeight;
    int displayWidth;
    int displayHeight;
};
