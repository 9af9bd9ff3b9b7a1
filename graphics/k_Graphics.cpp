#include "graphics/k_Graphics.h"

#include <GL/glu.h>

#include <memory>

#include "IFrameBufferObject.h"
#include "ISprite.h"
#include "graphics/GLFunctions.h"
#include "graphics/TextureObject.h"
#include "platform/GLProcAddress.h"

namespace {

constexpr GLbitfield kAllBuffers = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_ACCUM_BUFFER_BIT;
constexpr float kReturnWeight = 1.0f;

void SetViewportAndScissor(const SceneRectangle& rectangle) {
    glViewport(rectangle.left, rectangle.top, rectangle.width, rectangle.height);
    glScissor(rectangle.left, rectangle.top, rectangle.width, rectangle.height);
}

// One quad over the whole viewport showing the whole bound texture.
void DrawViewportQuad() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2i(0, 0);
    glVertex2i(0, 0);
    glTexCoord2i(1, 0);
    glVertex2i(1, 0);
    glTexCoord2i(1, 1);
    glVertex2i(1, 1);
    glTexCoord2i(0, 1);
    glVertex2i(0, 1);
    glEnd();
}

}  // namespace

k_Graphics::k_Graphics(IEngine* engine) : engine(engine) {}

// A texture made in a context that is gone went with it.
k_Graphics::~k_Graphics() {
    if (sceneCopy != 0 && sceneCopyContext == GetCurrentGLContext()) {
        glDeleteTextures(1, &sceneCopy);
    }
}

void k_Graphics::SetSize(int width, int height) {
    this->width = width;
    this->height = height;
    ReloadGLFunctions();
    Clear();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    SetupView();
}

// Where the scene covers only part of the surface, the colour and depth buffers are cleared
// whole, which blacks the bars and is the clearing drivers do fastest (a scissored clear is
// drawn as a quad by software renderers); the scissor then keeps the clearing of the
// accumulation buffer, which the driver does pixel by pixel, to the scene.
void k_Graphics::Clear() {
    if (DrawsOnPartOfTheDisplay()) {
        glDisable(GL_SCISSOR_TEST);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glClear(GL_ACCUM_BUFFER_BIT);
        return;
    }
    glClear(kAllBuffers);
}

// The scissor keeps drawing, clearing and the accumulation steps (which work on the whole
// frame buffer otherwise) inside the scene's rectangle.
void k_Graphics::SetupView() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    SetViewportAndScissor(DrawingRectangle());
    if (IsDisplaySet()) {
        glEnable(GL_SCISSOR_TEST);
    } else {
        glDisable(GL_SCISSOR_TEST);
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, width, height, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void k_Graphics::RenderToTexture(ITexture* texture) {
    std::unique_ptr<IFrameBufferObject> target = engine->CreateFrameBufferObject(texture);
    target->Bind();
    DrawScene();
    target->Unbind();
}

void k_Graphics::AccumulateScene(float weight) {
    DrawScene();
    glAccum(GL_ACCUM, weight);
}

void k_Graphics::ShowAccumulated() {
    glAccum(GL_RETURN, kReturnWeight);
}

void k_Graphics::SetDisplaySize(int width, int height) {
    displayWidth = width;
    displayHeight = height;
    SetupView();
}

void k_Graphics::SetSceneScaling(SceneScaling newScaling) {
    scaling = newScaling;
    SetupView();
}

void k_Graphics::PresentScene() {
    if (EnlargesWhenPresenting()) {
        DrawEnlargedScene();
    }
}

void k_Graphics::DrawScene() {
    SpriteLayers layers = engine->GetSpritesByLayer();
    for (auto& [depth, sprites] : layers) {
        for (ISprite* sprite : sprites) {
            sprite->Draw();
        }
    }
}

bool k_Graphics::IsDisplaySet() const {
    return displayWidth > 0 && displayHeight > 0 && width > 0 && height > 0;
}

bool k_Graphics::DrawsOnPartOfTheDisplay() const {
    return IsDisplaySet() && !(DrawingRectangle() == SceneRectangle{0, 0, displayWidth, displayHeight});
}

bool k_Graphics::EnlargesWhenPresenting() const {
    return IsDisplaySet() && FitScene(width, height, displayWidth, displayHeight, scaling).width > width;
}

SceneRectangle k_Graphics::DrawingRectangle() const {
    if (!IsDisplaySet() || EnlargesWhenPresenting()) {
        return SceneRectangle{0, 0, width, height};
    }
    return ShownRectangle();
}

SceneRectangle k_Graphics::ShownRectangle() const {
    SceneRectangle shown = FitScene(width, height, displayWidth, displayHeight, scaling);
    shown.top = displayHeight - shown.top - shown.height;
    return shown;
}

// Copies the finished scene from the corner into a texture, clears the bars black and draws
// the texture over the scene's rectangle, filtered (smooth) or pixel for pixel (sharp). The texture replaces the colour instead of
// modulating it (sprites modulate, the default, which is put back): the quad covers the whole
// display, and the multiplication is a fair part of its cost in a software renderer.
void k_Graphics::DrawEnlargedScene() {
    GL().activeTexture(GL_TEXTURE0);
    CopySceneToPicture();
    SceneRectangle shown = ShownRectangle();
    ClearBars(shown);
    glDisable(GL_SCISSOR_TEST);
    glViewport(shown.left, shown.top, shown.width, shown.height);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    DrawViewportQuad();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, 0);
    SetupView();
}

void k_Graphics::CopySceneToPicture() {
    void* context = GetCurrentGLContext();
    bool reusable = sceneCopy != 0 && sceneCopyContext == context && sceneCopyWidth == width && sceneCopyHeight == height;
    if (!reusable) {
        if (sceneCopy != 0 && sceneCopyContext == context) {
            glDeleteTextures(1, &sceneCopy);
        }
        sceneCopy = MakeTextureObject(GL_CLAMP_TO_EDGE);
        // Blue-first like the window's frame buffer, so that the driver copies without converting.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
        sceneCopyContext = context;
        sceneCopyWidth = width;
        sceneCopyHeight = height;
    }
    glBindTexture(GL_TEXTURE_2D, sceneCopy);
    const GLint filter = scaling == SceneScaling::Smooth ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
}

// Only the bars: the enlarged picture covers the rest.
void k_Graphics::ClearBars(const SceneRectangle& shown) {
    const SceneRectangle bars[] = {
        {0, 0, shown.left, displayHeight},
        {shown.left + shown.width, 0, displayWidth - shown.left - shown.width, displayHeight},
        {0, 0, displayWidth, shown.top},
        {0, shown.top + shown.height, displayWidth, displayHeight - shown.top - shown.height},
    };
    for (const SceneRectangle& bar : bars) {
        if (bar.width > 0 && bar.height > 0) {
            glScissor(bar.left, bar.top, bar.width, bar.height);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    }
}
