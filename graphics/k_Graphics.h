// The engine's fixed OpenGL drawing state: a pixel coordinate system over the window (origin
// top-left, y downwards), alpha blending, clearing, the accumulation-buffer motion blur, and
// the drawing of the scene layer by layer. Owns no OpenGL objects.
#pragma once

#include "IEngine.h"
#include "IGraphics.h"

class k_Graphics : public IGraphics {
public:
    explicit k_Graphics(IEngine* engine);

    // Also looks up the OpenGL entry points again: the window sizes the graphics right after
    // making its rendering context.
    void SetSize(int width, int height) override;
    void Clear() override;
    void SetupView() override;
    void RenderToTexture(ITexture* texture) override;
    void AccumulateScene(float weight) override;
    void ShowAccumulated() override;

private:
    void DrawScene();

    IEngine* engine;
    int width = 0;
    int height = 0;
};
