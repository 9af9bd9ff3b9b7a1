// Brings the scene onto a display of any size: OpenGL enlarges it (OpenGLScenePresenter), or
// the X server does (ServerScaledScene). The server is chosen where the renderer is a software
// rasteriser, which would otherwise draw every enlarged pixel itself; on a graphics card OpenGL
// enlarges and filters for nothing, in step with the swap's vertical sync.
#pragma once

#include <SDL.h>

#include "SceneScaling.h"

class ScenePresenter {
public:
    virtual ~ScenePresenter() = default;

    // The window OpenGL draws the scene into and swaps.
    virtual SDL_Window* GetSceneWindow() const = 0;
    // Fits the scene onto a display of this many pixels from the next frame on.
    virtual void SetDisplay(int width, int height, SceneScaling scaling) = 0;
    // Called with the finished picture right before the swap, then right after it.
    virtual void BeforeSwap() = 0;
    virtual void AfterSwap() = 0;
};

enum class PresenterKind { OpenGL, Server };

// The presenter for full screen: `request` (the ROLLANDIA_SCALING variable: "server" or
// "opengl") decides when set; otherwise the server where `renderer` (GL_RENDERER) names a
// software rasteriser. Either may be null.
PresenterKind ChoosePresenter(const char* renderer, const char* request);

// Whether this build lets the X server scale (the ROLLANDIA_X11 build option).
bool CanScaleInTheServer();

// ChoosePresenter for the current context's GL_RENDERER and the ROLLANDIA_SCALING variable;
// OpenGL in a build that cannot scale in the server.
PresenterKind ChoosePresenterForThisContext();
