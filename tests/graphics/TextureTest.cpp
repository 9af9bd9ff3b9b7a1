#include "filesystem/k_FileSystem.h"
#include "support/DrawingFixture.h"
#include "support/Failures.h"
#include "support/TempDirectory.h"

namespace {

Rgba Gradient(int x, int y) {
    return {x * 6 % 256, y * 13 % 256, (x * y + 40) % 256, 255};
}

// A picture of one row of palette colours, transparent by paletteAlpha.
PngPicture PalettePicture(std::vector<png_color> colours, std::vector<png_byte> paletteAlpha) {
    PngPicture picture;
    picture.width = static_cast<int>(colours.size());
    picture.height = 1;
    picture.colourType = PNG_COLOR_TYPE_PALETTE;
    for (std::size_t index = 0; index < colours.size(); ++index) {
        picture.rows.push_back(static_cast<png_byte>(index));
    }
    picture.palette = std::move(colours);
    picture.paletteAlpha = std::move(paletteAlpha);
    return picture;
}

}  // namespace

using TextureTest = DrawingTest;

// Drawn by a sprite, the picture covers exactly its own size at the sprite's position.
TEST_F(TextureTest, OddSizedRgbPictureStandsUprightUnmirroredAndUnshearedWhereItsSpriteIs) {
    auto texture = LoadTexture(L"odd.png", TrueColourPicture(37, 19, false, Gradient));
    EXPECT_EQ(texture->GetWidth(), 37);
    EXPECT_EQ(texture->GetHeight(), 19);
    AddSprite(texture.get(), 10, 20);
    graphics.AccumulateScene(1.0f);
    for (int y = -1; y <= 19; ++y) {
        for (int x = -1; x <= 37; ++x) {
            bool inside = x >= 0 && x < 37 && y >= 0 && y < 19;
            ASSERT_TRUE(ColourNear(ReadPixel(10 + x, 20 + y), inside ? Gradient(x, y) : Rgba{0, 0, 0, 255}, 0))
                << "pixel " << x << ", " << y;
        }
    }
}

TEST_F(TextureTest, PaletteTransparencyGivesAnAlphaThatBlendsOverWhatIsBehind) {
    auto alphaBits = [](ITexture& texture) {
        GLint bits = 0;
        texture.Bind(0);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &bits);
        texture.Unbind(0);
        return bits;
    };
    EXPECT_EQ(alphaBits(*LoadTexture(L"opaque.png", PalettePicture({{10, 20, 30}}, {}))), 0);

    auto red = SolidTexture(L"red.png", 2, 1, {255, 0, 0, 255});
    auto overlay = LoadTexture(L"overlay.png", PalettePicture({{0, 255, 0}, {0, 0, 255}}, {128}));
    EXPECT_GT(alphaBits(*overlay), 0);
    AddSprite(red.get(), 4, 4, 0);
    AddSprite(overlay.get(), 4, 4, 1);
    graphics.AccumulateScene(1.0f);
    EXPECT_TRUE(ColourNear(ReadPixel(4, 4), {127, 128, 0, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(5, 4), {0, 0, 255, 255}));
}

TEST_F(TextureTest, MissingOrUndecodablePictureRaisesTheNameAndMakesNoTexture) {
    testing::internal::CaptureStdout();
    EXPECT_TRUE(Contains(FailureOf([&] { k_Texture texture(&engine, L"nowhere.png"); }), {L"nowhere.png"}));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannot read from file: nowhere.png\n");
    // The game's own file system also tells why and where it looked.
    TempDirectory program;
    k_FileSystem disk(nullptr, program.WidePath());
    disk.UseDirectory(L"data");
    engine.fileSystem = &disk;
    EXPECT_EQ(FailureOf([&] { k_Texture texture(&engine, L"Splash.png"); }),
              L"Cannot read from file: Splash.png (the data folder " + program.WidePath("data") + L" does not exist)");
    engine.fileSystem = &files;

    files.Add(L"broken.png", "not a picture at all");
    auto nextTextureName = [] {
        GLuint name = 0;
        glGenTextures(1, &name);
        glDeleteTextures(1, &name);
        return name;
    };
    GLuint first = nextTextureName();
    GLuint beforeFailures = nextTextureName();
    EXPECT_TRUE(Contains(FailureOf([&] { k_Texture texture(&engine, L"broken.png"); }), {L"\"broken.png\": "}));
    // The names advance as between two probes: no texture object was made for the failures.
    EXPECT_EQ(nextTextureName() - beforeFailures, beforeFailures - first);
}

TEST_F(TextureTest, BlankTextureTakesPixelsCopiedFromTheWindow) {
    auto red = SolidTexture(L"red.png", 4, 4, {255, 0, 0, 255});
    AddSprite(red.get(), 0, kHeight - 4);  // the bottom-left corner of the window
    graphics.AccumulateScene(1.0f);

    k_Texture blank(&engine, 8, 4);
    EXPECT_EQ(blank.GetWidth(), 8);
    blank.CopyPixels(0, 0);
    std::vector<Rgba> pixels = TexturePixels(blank);
    EXPECT_EQ(pixels[0][0], 255);      // copied from the red corner
    EXPECT_EQ(pixels[4 + 8 * 2][0], 0);  // beyond it: the cleared window
}
