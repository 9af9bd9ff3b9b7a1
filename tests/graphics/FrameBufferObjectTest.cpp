#include "support/DrawingFixture.h"

using FrameBufferObjectTest = DrawingTest;

// The scene drawn into a texture lands upright in it, a translucent sprite replacing what is
// under it, and the window keeps its picture, view and blending.
TEST_F(FrameBufferObjectTest, SceneRendersUprightIntoATextureReplacingItsPixelsAndLeavesTheWindowAlone) {
    auto red = SolidTexture(L"red.png", 4, 4, {255, 0, 0, 255});
    auto translucent = SolidTexture(L"green.png", 2, 2, {0, 255, 0, 100});
    AddSprite(red.get(), 2, 2, 0);
    AddSprite(translucent.get(), 2, 2, 1);
    const int width = 32, height = 16;
    k_Texture target(&engine, width, height);
    {
        k_FrameBufferObject clearing(&engine, &target);
        EXPECT_NE(clearing.GetId(), 0u);
        clearing.Bind();
        graphics.Clear();
        clearing.Unbind();
    }
    graphics.RenderToTexture(&target);
    EXPECT_TRUE(ColourNear(ReadPixel(3, 3), {0, 0, 0, 255})) << "the window is not drawn on";
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kWidth);
    EXPECT_EQ(viewport[3], kHeight);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));

    std::vector<Rgba> pixels = TexturePixels(target);
    auto at = [&](int x, int yFromTop) { return pixels[(height - 1 - yFromTop) * width + x]; };
    EXPECT_EQ(at(2, 2), (Rgba{0, 255, 0, 100}));
    EXPECT_EQ(at(5, 5), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(at(6, 6)[0], 0);
    EXPECT_EQ(at(5, 1)[0], 0);
}
