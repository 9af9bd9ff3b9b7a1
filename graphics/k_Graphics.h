// The engine's fixed OpenGL drawing state: a pixel coordinate system over the scene (origin
// top-left, y downwards), alpha blending, clearing, the accumulation-buffer motion blur, the
// drawing of the scene layer by layer, and fitting the scene onto a display of any size. Owns
// the one texture used to enlarge the scene.
#pragma once

#include "IEngine.h"
#include "IGraphics.h"
#include "PlatformTypes.h"
#include "platform/SceneViewport.h"

class k_Graphics : public IGraphics {
public:
    explicit k_Graphics(IEngine* engine);
    ~k_Graphics() override;
    k_Graphics(const k_Graphics&) = delete;
    k_Graphics& operator=(const k_Graphics&) = delete;

    // Also looks up the OpenGL entry points again: the window sizes the graphics right after
    // making its rendering context.
    void SetSize(int width, int height) override;
    void Clear() override;
    void SetupView() override;
    void RenderToTexture(ITexture* texture) override;
    void AccumulateScene(float weight) override;
    void ShowAccumulated() override;
    // A scene smaller than the display is drawn at its own size in the surface's bottom-left
    // corner and enlarged by PresentScene, so drawing and blur cost what they cost at the
    // scene's size; a scene that fits is drawn straight into its rectangle.
    void SetDisplaySize(int width, int height) override;
    void PresentScene() override;
    // Smooth enlarging filters the scene's picture (each scene pixel keeps its weight on any
    // display); sharp enlarging draws it by a whole multiple, pixel for pixel.
    void SetSceneScaling(SceneScaling scaling) override;

private:
    void DrawScene();
    bool IsDisplaySet() const;
    bool EnlargesWhenPresenting() const;
    bool DrawsOnPartOfTheDisplay() const;
    // Where the scene is drawn, in OpenGL window coordinates (origin bottom-left).
    SceneRectangle DrawingRectangle() const;
    // Where the scene shows on the display, in OpenGL window coordinates.
    SceneRectangle ShownRectangle() const;
    void DrawEnlargedScene();
    void CopySceneToPicture();
    void ClearBars(const SceneRectangle& shown);

    IEngine* engine;
    int width = 0;
    int height = 0;
    int displayWidth = 0;
    int displayHeight = 0;
    SceneScaling scaling = SceneScaling::Smooth;
    // The texture the finished scene is copied into for enlarging, kept from frame to frame,
    // and the context it was made in (a new context needs a new one).
    GLuint sceneCopy = 0;
    void* sceneCopyContext = nullptr;
    int sceneCopyWidth = 0;
    int sceneCopyHeight = 0;
};
