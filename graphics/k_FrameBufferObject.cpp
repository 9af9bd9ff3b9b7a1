#include "graphics/k_FrameBufferObject.h"

#include <GL/glu.h>

#include "Failure.h"
#include "IGraphics.h"
#include "graphics/GLFunctions.h"

namespace {

constexpr GLuint kWindowFramebuffer = 0;

}  // namespace

k_FrameBufferObject::k_FrameBufferObject(IEngine* engine, ITexture* texture) : engine(engine), texture(texture) {
    const GLFunctions& gl = GL();
    if (!gl.hasFramebuffers) {
        throw k_Failure(L"Cannot draw into a texture: the OpenGL driver has no frame buffer objects.");
    }
    gl.genFramebuffers(1, &framebufferId);
    gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, framebufferId);
    gl.framebufferTexture2D(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture->GetId(), 0);
    gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, kWindowFramebuffer);
}

k_FrameBufferObject::~k_FrameBufferObject() {
    GL().deleteFramebuffers(1, &framebufferId);
}

GLuint k_FrameBufferObject::GetId() {
    return framebufferId;
}

ITexture* k_FrameBufferObject::GetTexture() {
    return texture;
}

void k_FrameBufferObject::Bind() {
    GL().bindFramebuffer(GL_FRAMEBUFFER_EXT, framebufferId);
    int width = texture->GetWidth();
    int height = texture->GetHeight();
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, width, height, 0);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);  // the window's scissor keeps to the scene's place on the display
}

void k_FrameBufferObject::Unbind() {
    glEnable(GL_BLEND);
    GL().bindFramebuffer(GL_FRAMEBUFFER_EXT, kWindowFramebuffer);
    engine->GetGraphics()->SetupView();
}
