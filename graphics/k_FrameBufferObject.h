// A render-to-texture target: a frame buffer object whose only attachment is a texture's
// level 0. While bound, drawing goes into the texture in the window's pixel coordinates.
// Owns the frame buffer object, not the texture.
#pragma once

#include "IEngine.h"
#include "IFrameBufferObject.h"

class k_FrameBufferObject : public IFrameBufferObject {
public:
    // Raises k_Failure when the OpenGL driver has no frame buffer objects.
    k_FrameBufferObject(IEngine* engine, ITexture* texture);
    ~k_FrameBufferObject() override;
    k_FrameBufferObject(const k_FrameBufferObject&) = delete;
    k_FrameBufferObject& operator=(const k_FrameBufferObject&) = delete;

    GLuint GetId() override;
    ITexture* GetTexture() override;
    // Draws into the texture, replacing its pixels (blending off).
    void Bind() override;
    // Draws into the window again, with blending and the window's view.
    void Unbind() override;

private:
    IEngine* engine;
    GLuint framebufferId = 0;
    ITexture* texture;
};
