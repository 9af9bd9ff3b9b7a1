// A GLSL program that stands in for a picture: binding it activates the program and feeds
// it its size, the engine's time and its input textures.
#pragma once

#include "ITexture.h"

class IShaderTexture : public ITexture {
public:
    // Makes texture the input read on unit (replacing an earlier one).
    virtual void SetTexture(ITexture* texture, int unit) = 0;
    // Set a uniform of the current program; a uniform the program lacks is skipped.
    virtual void SetUniform1f(const char* name, float value) = 0;
    virtual void SetUniform1i(const char* name, int value) = 0;
};
