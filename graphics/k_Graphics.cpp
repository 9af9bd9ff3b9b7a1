#include "graphics/k_Graphics.h"

#include <GL/glu.h>

#include <memory>

#include "IFrameBufferObject.h"
#include "ISprite.h"
#include "graphics/GLFunctions.h"

namespace {

constexpr GLbitfield kAllBuffers = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_ACCUM_BUFFER_BIT;
constexpr float kReturnWeight = 1.0f;

}  // namespace

k_Graphics::k_Graphics(IEngine* engine) : engine(engine) {}

void k_Graphics::SetSize(int width, int height) {
    this->width = width;
    this->height = height;
    ReloadGLFunctions();
    Clear();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    SetupView();
}

void k_Graphics::Clear() {
    glClear(kAllBuffers);
}

void k_Graphics::SetupView() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glViewport(0, 0, width, height);
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

void k_Graphics::DrawScene() {
    SpriteLayers layers = engine->GetSpritesByLayer();
    for (auto& [depth, sprites] : layers) {
        for (ISprite* sprite : sprites) {
            sprite->Draw();
        }
    }
}
