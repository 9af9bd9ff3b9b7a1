#include "support/DrawingFixture.h"

using FrameBufferObjectTest = DrawingTest;

TEST_F(FrameBufferObjectTest, DrawingIntoTheTextureKeepsTheWindowsOrientationAndUnbindingItsView) {
    // Red top row over a blue rest.
    auto picture = LoadTexture(L"marker.png", TrueColourPicture(4, 4, false, [](int, int y) {
        return y == 0 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 255, 255};
    }));
    k_Texture target(&engine, 32, 16);
    k_FrameBufferObject framebuffer(&engine, &target);
    EXPECT_NE(framebuffer.GetId(), 0u);

    framebuffer.Bind();
    graphics.Clear();
    k_Sprite& marker = AddSprite(picture.get(), 0, 0);
    graphics.AccumulateScene(1.0f);
    framebuffer.Unbind();
    engine.RemoveSprite(&marker);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kWidth);
    EXPECT_EQ(viewport[3], kHeight);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));

    // Shown on screen, the texture has the marker at its top-left corner.
    graphics.Clear();
    AddSprite(&target, 100, 50);
    graphics.AccumulateScene(1.0f);
    EXPECT_TRUE(ColourNear(ReadPixel(100, 50), {255, 0, 0, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(103, 53), {0, 0, 255, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(104, 50), {0, 0, 0, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(100, 65), {0, 0, 0, 255}));
}

TEST_F(FrameBufferObjectTest, TranslucentDrawingReplacesTheTexturesPixels) {
    auto opaque = SolidTexture(L"red.png", 8, 8, {255, 0, 0, 255});
    auto translucent = SolidTexture(L"green.png", 8, 8, {0, 255, 0, 100});
    k_Texture target(&engine, 8, 8);
    k_FrameBufferObject framebuffer(&engine, &target);
    framebuffer.Bind();
    AddSprite(opaque.get(), 0, 0, 0);
    AddSprite(translucent.get(), 0, 0, 1);
    graphics.AccumulateScene(1.0f);
    framebuffer.Unbind();
    for (const Rgba& pixel : TexturePixels(target)) {
        ASSERT_EQ(pixel, (Rgba{0, 255, 0, 100}));
    }
}
