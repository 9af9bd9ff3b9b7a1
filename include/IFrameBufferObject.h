// A render-to-texture target: while bound, drawing goes into the texture.
#pragma once

#include "ITexture.h"

class IFrameBufferObject {
public:
    virtual ~IFrameBufferObject() = default;

    virtual GLuint GetId() = 0;
    virtual ITexture* GetTexture() = 0;
    virtual void Bind() = 0;
    virtual void Unbind() = 0;
};
