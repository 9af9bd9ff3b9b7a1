// A GLSL program that stands in for a picture: binding it makes the program current and feeds
// it its size, the engine's time and its input textures. Owns the program; the input
// textures belong to the engine's cache.
#pragma once

#include <GL/gl.h>

#include <map>
#include <string>

#include "IEngine.h"
#include "IShaderTexture.h"

class k_ShaderTexture : public IShaderTexture {
public:
    // Compiles and links the two named sources of the engine's file system. Compile and link
    // errors are written to standard error and leave a program that draws nothing of its own;
    // a missing source raises k_Failure naming the file.
    k_ShaderTexture(IEngine* engine, const std::wstring& name, const std::wstring& vertexFile,
                    const std::wstring& fragmentFile, int width, int height);
    ~k_ShaderTexture() override;
    k_ShaderTexture(const k_ShaderTexture&) = delete;
    k_ShaderTexture& operator=(const k_ShaderTexture&) = delete;

    GLuint GetId() override;
    int GetWidth() override;
    int GetHeight() override;
    std::wstring GetName() override;
    void CopyPixels(int x, int y) override;
    void Bind(int unit) override;
    void Unbind(int unit) override;
    // Units 0 to 9 only: each is read through the sampler "texture<unit>".
    void SetTexture(ITexture* texture, int unit) override;
    void SetUniform1f(const char* name, float value) override;
    void SetUniform1i(const char* name, int value) override;

    static constexpr int kInputUnits = 10;

private:
    void FindBuiltInUniforms();

    std::wstring name;
    IEngine* engine;
    GLuint program = 0;
    int width;
    int height;
    std::map<int, ITexture*> inputs;

    // Locations of the uniforms set on every Bind; they stay fixed once the program is linked.
    GLint widthLocation = -1;
    GLint heightLocation = -1;
    GLint timeLocation = -1;
    GLint samplerLocations[kInputUnits] = {};
};
