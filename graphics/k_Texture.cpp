#include "graphics/k_Texture.h"

#include <iostream>

#include "Failure.h"
#include "IFileSystem.h"
#include "filesystem/CannotRead.h"
#include "graphics/GLFunctions.h"
#include "graphics/PngDecoder.h"
#include "graphics/TextureObject.h"

namespace {

// Internal formats by component count, as OpenGL 1.1 names them.
constexpr GLint kRgbComponents = 3;
constexpr GLint kRgbaComponents = 4;

PngImage ReadPicture(IEngine* engine, const std::wstring& fileName) {
    IFileSystem* files = engine->GetFileSystem();
    std::unique_ptr<IFile> file = files->Open(fileName);
    if (!file) {
        std::wstring message = CannotReadMessage(files, fileName);
        std::wcout << message << std::endl;
        throw k_Failure(message);
    }
    PngImage image;
    std::string error;
    if (!DecodePng(file->GetData(), file->GetSize(), image, error)) {
        throw k_Failure(L"Cannot load the picture \"" + fileName + L"\": " + FromUtf8(error));
    }
    return image;
}

}  // namespace

k_Texture::k_Texture(IEngine* engine, const std::wstring& fileName) : name(fileName) {
    // Decoding comes first, so a picture that fails leaves no texture object behind.
    PngImage image = ReadPicture(engine, fileName);
    width = image.width;
    height = image.height;
    bool rgba = image.channels == kRgbaComponents;
    textureId = MakeTextureObject(GL_REPEAT);
    // Rows are tightly packed, whatever their length.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, rgba ? kRgbaComponents : kRgbComponents, width, height, 0, rgba ? GL_RGBA : GL_RGB,
                 GL_UNSIGNED_BYTE, image.pixels.data());
}

k_Texture::k_Texture(IEngine*, int width, int height) : width(width), height(height) {
    textureId = MakeTextureObject(GL_CLAMP);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, kRgbaComponents, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
}

k_Texture::~k_Texture() {
    glDeleteTextures(1, &textureId);
}

GLuint k_Texture::GetId() {
    return textureId;
}

int k_Texture::GetWidth() {
    return width;
}

int k_Texture::GetHeight() {
    return height;
}

std::wstring k_Texture::GetName() {
    return name;
}

void k_Texture::CopyPixels(int x, int y) {
    Bind(0);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, y, width, height);
    Unbind(0);
}

void k_Texture::Bind(int unit) {
    GL().activeTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glEnable(GL_TEXTURE_2D);
}

void k_Texture::Unbind(int unit) {
    GL().activeTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
}
