// Everything a sprite can show: an OpenGL texture with its pixel size and name.
#pragma once

#include <string>

#include "PlatformTypes.h"

class ITexture {
public:
    virtual ~ITexture() = default;

    virtual GLuint GetId() = 0;
    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    virtual std::wstring GetName() = 0;
    // Copies the window rectangle with lower-left corner (x, y) of the texture's size into it.
    virtual void CopyPixels(int x, int y) = 0;
    virtual void Bind(int unit) = 0;
    virtual void Unbind(int unit) = 0;
};
