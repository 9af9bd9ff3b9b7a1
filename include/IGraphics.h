// The fixed OpenGL drawing state and the drawing of the scene layer by layer.
#pragma once

#include "SceneScaling.h"

class ITexture;

class IGraphics {
public:
    virtual ~IGraphics() = default;

    virtual void SetSize(int width, int height) = 0;
    virtual void Clear() = 0;
    virtual void SetupView() = 0;
    virtual void RenderToTexture(ITexture* texture) = 0;
    // Draws the scene, then adds weight times the picture to the accumulation buffer.
    virtual void AccumulateScene(float weight) = 0;
    virtual void ShowAccumulated() = 0;
    // The size in pixels of the surface the scene is shown on. The scene (SetSize) is scaled
    // to fill it with its aspect kept, centred between black bars; 0 x 0 shows it unscaled.
    virtual void SetDisplaySize(int width, int height) = 0;
    // Brings the finished picture onto the display surface; called right before each swap.
    virtual void PresentScene() = 0;
    // How the scene is enlarged onto a larger display; smooth until set.
    virtual void SetSceneScaling(SceneScaling scaling) = 0;
};
