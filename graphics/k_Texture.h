// An OpenGL texture with its pixel size and the name it was loaded from: decoded from a PNG
// picture of the engine's file system, or blank at a given size. Owns the texture object;
// the decoded pixels are freed once uploaded.
#pragma once

#include <string>

#include "IEngine.h"
#include "ITexture.h"

class k_Texture : public ITexture {
public:
    // Loads the named PNG picture. Raises k_Failure naming the file when it cannot be read
    // or decoded; nothing is left behind then.
    k_Texture(IEngine* engine, const std::wstring& fileName);
    // A texture of the given size whose pixels are undefined until drawn or copied into.
    k_Texture(IEngine* engine, int width, int height);
    ~k_Texture() override;
    k_Texture(const k_Texture&) = delete;
    k_Texture& operator=(const k_Texture&) = delete;

    GLuint GetId() override;
    int GetWidth() override;
    int GetHeight() override;
    std::wstring GetName() override;
    void CopyPixels(int x, int y) override;
    void Bind(int unit) override;
    void Unbind(int unit) override;

private:
    std::wstring name;
    GLuint textureId = 0;
    int width = 0;
    int height = 0;
};
