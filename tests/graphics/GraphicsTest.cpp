#include "support/DrawingFixture.h"

using GraphicsTest = DrawingTest;

TEST_F(GraphicsTest, LowerLayersAreDrawnFirstAndEndUpBehind) {
    auto red = SolidTexture(L"red.png", 8, 8, {255, 0, 0, 255});
    auto green = SolidTexture(L"green.png", 8, 8, {0, 255, 0, 255});
    AddSprite(red.get(), 0, 0, 5);
    AddSprite(green.get(), 4, 0, 2);
    AddSprite(green.get(), 20, 0, 7);
    AddSprite(red.get(), 24, 0, -3);
    graphics.AccumulateScene(1.0f);
    graphics.ShowAccumulated();
    EXPECT_TRUE(ColourNear(ReadPixel(5, 0), {255, 0, 0, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(25, 0), {0, 255, 0, 255}));
}

TEST_F(GraphicsTest, TwoSubStepsAreBlendedHalfAndHalf) {
    GLint accumulationBits = 0;
    glGetIntegerv(GL_ACCUM_RED_BITS, &accumulationBits);
    if (accumulationBits == 0) {
        GTEST_SKIP() << "this display offers no accumulation buffer";
    }
    auto red = SolidTexture(L"red.png", 8, 8, {255, 0, 0, 255});
    auto blue = SolidTexture(L"blue.png", 8, 8, {0, 0, 255, 255});
    graphics.Clear();
    k_Sprite& sprite = AddSprite(red.get(), 10, 10);
    graphics.AccumulateScene(0.5f);
    sprite.SetTexture(blue.get());
    sprite.GetData().left = 14;
    graphics.AccumulateScene(0.5f);
    graphics.ShowAccumulated();
    // Where only the second picture is, it shows at half weight (the driver may weigh in
    // linear light, so the exact level is its own); where both are, each at that weight.
    int half = ReadPixel(20, 11)[2];
    EXPECT_GT(half, 100);
    EXPECT_LT(half, 200);
    EXPECT_TRUE(ColourNear(ReadPixel(20, 11), {0, 0, half, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(15, 11), {half, 0, half, 255}));
    // The first picture stays in the colour buffer under the second.
    EXPECT_TRUE(ColourNear(ReadPixel(11, 11), {255, 0, 0, 255}));
}

TEST_F(GraphicsTest, ResizedViewMapsPixelsToTheNewCorners) {
    graphics.SetSize(128, 96);
    auto red = SolidTexture(L"red.png", 16, 16, {255, 0, 0, 255});
    AddSprite(red.get(), 0, 0);
    AddSprite(red.get(), 112, 80);
    graphics.AccumulateScene(1.0f);
    EXPECT_TRUE(ColourNear(ReadPixel(0, 0, 96), {255, 0, 0, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(15, 15, 96), {255, 0, 0, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(16, 16, 96), {0, 0, 0, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(127, 95, 96), {255, 0, 0, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(111, 79, 96), {0, 0, 0, 255}));
}
