// The game's shader files from data/, compiled by the engine's shader texture as the game does,
// drawn by sprites and judged by their pixels.
#include <gtest/gtest.h>

#include <algorithm>

#include "WideText.h"
#include "tools/content_checks/ContentFiles.h"
#include "graphics/GLFunctions.h"
#include "graphics/k_ShaderTexture.h"
#include "support/DrawingFixture.h"
#include "world/RecordTexture.h"

namespace {

const int kOtherLayer = 1;  // highlighting it fades the sprites on layer 0
const float kFadedAlpha = 0.3f;

// Pixels read back from OpenGL, bottom row first as OpenGL keeps them.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    std::uint8_t Alpha(int x, int yFromTop) const {
        return rgba[(static_cast<std::size_t>(height - 1 - yFromTop) * width + x) * 4 + 3];
    }

    // Mean brightness of the fully opaque pixels.
    double OpaqueBrightness() const {
        double sum = 0.0;
        int count = 0;
        for (std::size_t i = 0; i < rgba.size(); i += 4) {
            if (rgba[i + 3] == 255) {
                sum += 0.3 * rgba[i] + 0.59 * rgba[i + 1] + 0.11 * rgba[i + 2];
                ++count;
            }
        }
        return count ? sum / count : 0.0;
    }
};

}  // namespace

TEST(ContentShaderSources, PassTheReferenceCompiler) {
    for (auto [name, stage] : {std::pair{"ball.vs", "vert"}, {"ball.fs", "frag"}, {"water.vs", "vert"}, {"water.fs", "frag"}}) {
        std::string command = std::string("glslangValidator -S ") + stage + " " + content::Quoted(content::DataPath(name));
        EXPECT_TRUE(content::Succeeds(command)) << command;
    }
}

// The engine's file system holds the game's shader sources and ball picture as data/ has them.
class ContentShaders : public DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        for (const char* name : {"ball.vs", "ball.fs", "ball.png", "water.vs", "water.fs"}) {
            files.files[FromUtf8(name)] = content::ReadBytes(content::DataPath(name));
        }
    }

    // Compiles and links a pair of the game's sources; the shader texture reports failures on
    // standard error, so anything written there fails the test.
    std::unique_ptr<k_ShaderTexture> MakeShader(const std::wstring& name, const std::wstring& stem, int width,
                                                int height) {
        testing::internal::CaptureStderr();
        auto shader = std::make_unique<k_ShaderTexture>(&engine, name, stem + L".vs", stem + L".fs", width, height);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << ToUtf8(stem);
        return shader;
    }

    // The player's ball: sized like its picture, which it reads on unit 0.
    std::unique_ptr<k_ShaderTexture> MakeBall() {
        ballPicture = std::make_unique<k_Texture>(&engine, L"ball.png");
        auto ball = MakeShader(L"ball.glsl", L"ball", ballPicture->GetWidth(), ballPicture->GetHeight());
        ball->SetTexture(ballPicture.get(), 0);
        return ball;
    }

    // The uniform is set with the program current, as the ball sets its state.
    static void SetBallState(k_ShaderTexture& ball, int state) {
        ball.Bind(0);
        ball.SetUniform1i("ballState", state);
        ball.Unbind(0);
    }

    // The program links with the uniforms the game sets.
    static void ExpectUniforms(k_ShaderTexture& shader, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            EXPECT_NE(GL().getUniformLocation(shader.GetId(), name), -1) << name;
        }
    }

    // The scene rendered into a texture of the given size (blending off, so the shader's alpha
    // is kept as written), read back.
    Frame RenderToTexture(int width, int height) {
        k_Texture target(&engine, width, height);
        graphics.RenderToTexture(&target);
        Frame frame{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4)};
        target.Bind(0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, frame.rgba.data());
        target.Unbind(0);
        return frame;
    }

    std::unique_ptr<k_Texture> ballPicture;
};

TEST_F(ContentShaders, BallIsALitDiscThatShowsItsState) {
    auto ball = MakeBall();
    ExpectUniforms(*ball, {"time", "ballState", "texture0", "width", "height"});
    int size = ball->GetWidth();
    AddSprite(ball.get(), 0, 0);
    auto render = [&](int state, float time) {
        SetBallState(*ball, state);
        engine.time = time;
        return RenderToTexture(size, size);
    };

    double brightness[3];
    for (int state = 0; state < 3; ++state) {
        Frame frame = render(state, 1.0f);
        EXPECT_EQ(frame.Alpha(0, 0), 0) << "state " << state;
        EXPECT_EQ(frame.Alpha(size - 1, size - 1), 0) << "state " << state;
        EXPECT_EQ(frame.Alpha(size / 2, size / 2), 255) << "state " << state;
        brightness[state] = frame.OpaqueBrightness();
    }
    EXPECT_GT(brightness[1], brightness[0] + 10) << "up should look livelier";
    EXPECT_GT(brightness[0], brightness[2] + 10) << "down should look heavier";

    double dimmest = 255, brightest = 0;
    for (float time = 0.0f; time < 1.0f; time += 0.1f) {
        double seen = render(1, time).OpaqueBrightness();
        dimmest = std::min(dimmest, seen);
        brightest = std::max(brightest, seen);
    }
    EXPECT_GT(brightest - dimmest, 5.0) << "the glow with up held should pulse";

    engine.highlightLayer = kOtherLayer;
    EXPECT_NEAR(render(0, 1.0f).Alpha(size / 2, size / 2), kFadedAlpha * 255, 2);
}

TEST_F(ContentShaders, WaterIsAnimatedSeeThroughAndFadesWithTheSprite) {
    auto water = MakeShader(L"Water", L"water", kWaterTextureSize, kWaterTextureSize);
    ExpectUniforms(*water, {"time", "height"});
    AddSprite(water.get(), 0, 0);
    Frame first = RenderToTexture(kWaterTextureSize, kWaterTextureSize);
    engine.time = 0.7f;
    EXPECT_NE(first.rgba, RenderToTexture(kWaterTextureSize, kWaterTextureSize).rgba) << "water should move with time";
    for (int y = kWaterTextureSize / 4; y < kWaterTextureSize; ++y) {
        for (int x = 0; x < kWaterTextureSize; ++x) {
            ASSERT_GT(first.Alpha(x, y), 64) << x << "," << y;
            ASSERT_LT(first.Alpha(x, y), 255) << x << "," << y;
        }
    }
    engine.highlightLayer = kOtherLayer;
    Frame faded = RenderToTexture(kWaterTextureSize, kWaterTextureSize);
    for (std::size_t i = 3; i < faded.rgba.size(); i += 4) {
        ASSERT_LE(faded.rgba[i], kFadedAlpha * 255 + 1);
    }
}
