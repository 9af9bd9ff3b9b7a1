// A fixture for tests that draw: a hidden OpenGL context sized like a small window, a fake
// engine with an in-memory file system and the real graphics state, and helpers to make
// textures and sprites and to read pixels back from the window or a texture.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "graphics/k_FrameBufferObject.h"
#include "graphics/k_Graphics.h"
#include "graphics/k_Texture.h"
#include "support/DisplayCheck.h"
#include "support/FakeEngine.h"
#include "support/MemoryFiles.h"
#include "support/PngWriter.h"
#include "world/k_Sprite.h"

using Rgba = std::array<int, 4>;

// The fake engine with real frame buffer objects.
class DrawingEngine : public FakeEngine {
public:
    std::unique_ptr<IFrameBufferObject> CreateFrameBufferObject(ITexture* texture) override {
        return std::make_unique<k_FrameBufferObject>(this, texture);
    }
};

class DrawingTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 256;
    static constexpr int kHeight = 192;

    void SetUp() override {
        REQUIRE_CONTEXT(context);
        engine.fileSystem = &files;
        engine.graphics = &graphics;
        graphics.SetSize(kWidth, kHeight);
    }

    // A texture loaded from a picture added to the file system under name.
    std::unique_ptr<k_Texture> LoadTexture(const std::wstring& name, const PngPicture& picture) {
        files.files[name] = WritePng(picture);
        return std::make_unique<k_Texture>(&engine, name);
    }

    // A solid-colour RGBA picture.
    std::unique_ptr<k_Texture> SolidTexture(const std::wstring& name, int width, int height, Rgba colour) {
        return LoadTexture(name, TrueColourPicture(width, height, true, [&](int, int) { return colour; }));
    }

    // A sprite in the scene at (left, top) on layer depth.
    k_Sprite& AddSprite(ITexture* texture, float left, float top, int depth = 0) {
        sprites.push_back(std::make_unique<k_Sprite>(&engine, r_SpriteType::Background));
        k_Sprite& sprite = *sprites.back();
        sprite.SetTexture(texture);
        sprite.GetData().left = left;
        sprite.GetData().top = top;
        sprite.GetData().depth = depth;
        engine.AddSprite(&sprite, false, nullptr);
        return sprite;
    }

    // The pixel at (x, y) of the frame buffer being drawn, y counted from the top.
    Rgba ReadPixel(int x, int y, int frameHeight = kHeight) {
        unsigned char pixel[4] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, frameHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        return {pixel[0], pixel[1], pixel[2], pixel[3]};
    }

    k_OffscreenContext context{kWidth, kHeight};
    MemoryFileSystem files;
    DrawingEngine engine;
    k_Graphics graphics{&engine};
    std::vector<std::unique_ptr<k_Sprite>> sprites;
};

// A texture's pixels as stored: bottom row first.
inline std::vector<Rgba> TexturePixels(ITexture& texture) {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(texture.GetWidth()) * texture.GetHeight() * 4);
    texture.Bind(0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    texture.Unbind(0);
    std::vector<Rgba> pixels;
    for (std::size_t at = 0; at < bytes.size(); at += 4) {
        pixels.push_back({bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]});
    }
    return pixels;
}

// Colour channels equal within tolerance (alpha is not compared: the window's alpha is not
// part of the picture).
inline ::testing::AssertionResult ColourNear(Rgba actual, Rgba expected, int tolerance = 1) {
    for (int channel = 0; channel < 3; ++channel) {
        if (std::abs(actual[channel] - expected[channel]) > tolerance) {
            return ::testing::AssertionFailure() << "colour (" << actual[0] << ", " << actual[1] << ", " << actual[2]
                                                 << "), expected (" << expected[0] << ", " << expected[1] << ", "
                                                 << expected[2] << ")";
        }
    }
    return ::testing::AssertionSuccess();
}
