#include "Failure.h"
#include "support/DrawingFixture.h"

namespace {

Rgba Gradient(int x, int y) {
    return {x * 6 % 256, y * 13 % 256, (x * y + 40) % 256, 255};
}

}  // namespace

using TextureTest = DrawingTest;

TEST_F(TextureTest, PictureStandsUprightAndUnmirroredInItsSprite) {
    auto texture = LoadTexture(L"gradient.png", TrueColourPicture(8, 6, true, Gradient));
    AddSprite(texture.get(), 10, 20);
    graphics.AccumulateScene(1.0f);
    for (int y : {0, 1, 5}) {
        for (int x : {0, 1, 7}) {
            EXPECT_TRUE(ColourNear(ReadPixel(10 + x, 20 + y), Gradient(x, y), 0)) << "pixel " << x << ", " << y;
        }
    }
}

TEST_F(TextureTest, OddSizedRgbPictureUploadsWithoutShearing) {
    auto texture = LoadTexture(L"odd.png", TrueColourPicture(37, 19, false, Gradient));
    EXPECT_EQ(texture->GetWidth(), 37);
    EXPECT_EQ(texture->GetHeight(), 19);
    EXPECT_EQ(texture->GetName(), L"odd.png");
    AddSprite(texture.get(), 0, 0);
    graphics.AccumulateScene(1.0f);
    for (int y = 0; y < 19; ++y) {
        for (int x = 0; x < 37; ++x) {
            ASSERT_TRUE(ColourNear(ReadPixel(x, y), Gradient(x, y), 0)) << "pixel " << x << ", " << y;
        }
    }
}

TEST_F(TextureTest, TransparentPixelsBlendOverWhatIsBehind) {
    PngPicture palette;
    palette.width = 2;
    palette.height = 1;
    palette.colourType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{0, 255, 0}, {0, 0, 255}};
    palette.paletteAlpha = {128};
    palette.rows = {0, 1};
    auto red = SolidTexture(L"red.png", 2, 1, {255, 0, 0, 255});
    auto overlay = LoadTexture(L"overlay.png", palette);
    AddSprite(red.get(), 4, 4, 0);
    AddSprite(overlay.get(), 4, 4, 1);
    graphics.AccumulateScene(1.0f);
    EXPECT_TRUE(ColourNear(ReadPixel(4, 4), {127, 128, 0, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(5, 4), {0, 0, 255, 255}));
}

TEST_F(TextureTest, PalettePictureHasAlphaOnlyWithTransparency) {
    PngPicture palette;
    palette.width = 1;
    palette.height = 1;
    palette.colourType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{10, 20, 30}};
    palette.rows = {0};
    auto alphaBits = [](ITexture& texture) {
        GLint bits = 0;
        texture.Bind(0);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &bits);
        texture.Unbind(0);
        return bits;
    };
    EXPECT_EQ(alphaBits(*LoadTexture(L"opaque.png", palette)), 0);
    palette.paletteAlpha = {200};
    EXPECT_GT(alphaBits(*LoadTexture(L"transparent.png", palette)), 0);
}

TEST_F(TextureTest, MissingPictureIsReportedAndRaised) {
    testing::internal::CaptureStdout();
    try {
        k_Texture texture(&engine, L"nowhere.png");
        ADD_FAILURE() << "a missing picture gave a texture";
    } catch (const k_Failure& failure) {
        EXPECT_NE(failure.Message().find(L"nowhere.png"), std::wstring::npos);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannot read from file: nowhere.png\n");
}

TEST_F(TextureTest, UndecodablePictureRaisesTheNameAndTheReason) {
    files.Add(L"broken.png", "not a picture at all");
    PngPicture grey;
    grey.width = 1;
    grey.height = 1;
    grey.colourType = PNG_COLOR_TYPE_GRAY;
    grey.rows = {7};
    files.files[L"grey.png"] = WritePng(grey);

    auto nextTextureName = [] {
        GLuint name = 0;
        glGenTextures(1, &name);
        glDeleteTextures(1, &name);
        return name;
    };
    GLuint first = nextTextureName();
    GLuint beforeFailures = nextTextureName();
    for (const std::wstring name : {L"broken.png", L"grey.png"}) {
        try {
            k_Texture texture(&engine, name);
            ADD_FAILURE() << "an undecodable picture gave a texture";
        } catch (const k_Failure& failure) {
            EXPECT_NE(failure.Message().find(L"\"" + name + L"\": "), std::wstring::npos) << failure.what();
        }
    }
    // The names advance as between two probes: no texture object was made for the failures.
    EXPECT_EQ(nextTextureName() - beforeFailures, beforeFailures - first);
}

TEST_F(TextureTest, BlankTextureTakesPixelsCopiedFromTheWindow) {
    auto red = SolidTexture(L"red.png", 4, 4, {255, 0, 0, 255});
    AddSprite(red.get(), 0, kHeight - 4);  // the bottom-left corner of the window
    graphics.AccumulateScene(1.0f);

    k_Texture blank(&engine, 8, 4);
    EXPECT_EQ(blank.GetWidth(), 8);
    EXPECT_EQ(blank.GetName(), L"");
    blank.CopyPixels(0, 0);
    std::vector<unsigned char> pixels(8 * 4 * 4);
    blank.Bind(0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    blank.Unbind(0);
    EXPECT_EQ(pixels[0], 255);               // copied from the red corner
    EXPECT_EQ(pixels[(4 + 8 * 2) * 4], 0);   // beyond it: the cleared window
}
