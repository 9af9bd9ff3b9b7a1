#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "content/ContentFiles.h"
#include "content/ShaderRig.h"
#include "support/DisplayCheck.h"

namespace {

const int k_BallSize = 32;
const int k_WaterSize = 50;
const float k_FadedAlpha = 0.3f;   // the alpha of sprites outside the highlighted layer
const int k_PreviewZoom = 4;

std::string ReadText(const std::string& name) {
    std::ifstream file(content::DataPath(name));
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Mean brightness of the fully opaque pixels.
double OpaqueBrightness(const std::vector<std::uint8_t>& rgba) {
    double sum = 0.0;
    int count = 0;
    for (size_t i = 0; i < rgba.size(); i += 4) {
        if (rgba[i + 3] == 255) {
            sum += 0.3 * rgba[i] + 0.59 * rgba[i + 1] + 0.11 * rgba[i + 2];
            ++count;
        }
    }
    return count ? sum / count : 0.0;
}

std::uint8_t AlphaAt(const std::vector<std::uint8_t>& rgba, int width, int x, int y) {
    return rgba[(static_cast<size_t>(y) * width + x) * 4 + 3];
}

// Renders are left in the build folder for a person to look at.
void WritePreview(const std::string& name, int width, int height, const std::vector<std::uint8_t>& rgba) {
    std::vector<std::uint8_t> large(rgba.size() * k_PreviewZoom * k_PreviewZoom);
    int largeWidth = width * k_PreviewZoom;
    for (int y = 0; y < height * k_PreviewZoom; ++y) {
        for (int x = 0; x < largeWidth; ++x) {
            std::copy_n(&rgba[(static_cast<size_t>(y / k_PreviewZoom) * width + x / k_PreviewZoom) * 4], 4,
                        &large[(static_cast<size_t>(y) * largeWidth + x) * 4]);
        }
    }
    std::filesystem::path folder = std::filesystem::path(ROLLANDIA_BINARY_DIR) / "content-preview";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(content::WritePicture(folder / name, largeWidth, height * k_PreviewZoom, large)) << name;
}

class ShaderPrograms : public ::testing::Test {
protected:
    k_OffscreenContext context{64, 64};

    GLuint LinkPair(content::k_ShaderRig& rig, const std::string& stem) {
        std::string log;
        GLuint program = rig.Link(ReadText(stem + ".vs"), ReadText(stem + ".fs"), log);
        EXPECT_NE(program, 0u) << stem << ": " << log;
        return program;
    }

    GLuint UploadBall(content::k_ShaderRig& rig) {
        content::Picture ball = content::ReadPicture(content::DataPath("ball.png"));
        EXPECT_EQ(ball.error, "");
        return rig.UploadPicture(ball.width, ball.height, ball.rgba);
    }
};

}  // namespace

TEST(Shaders, PassTheReferenceCompiler) {
    for (auto [name, stage] : {std::pair{"ball.vs", "vert"}, {"ball.fs", "frag"}, {"water.vs", "vert"}, {"water.fs", "frag"}}) {
        std::string command = std::string("glslangValidator -S ") + stage + " '" + content::DataPath(name).string() + "'";
        int status = std::system((command + " > /dev/null").c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    }
}

TEST_F(ShaderPrograms, LinkWithTheUniformsTheGameSets) {
    REQUIRE_CONTEXT(context);
    content::k_ShaderRig rig;
    ASSERT_TRUE(rig.IsReady());
    GLuint ball = LinkPair(rig, "ball");
    GLuint water = LinkPair(rig, "water");
    ASSERT_TRUE(ball && water);
    for (const char* uniform : {"time", "ballState", "texture0", "width", "height"}) {
        EXPECT_TRUE(rig.HasUniform(ball, uniform)) << "ball: " << uniform;
    }
    for (const char* uniform : {"time", "height"}) {
        EXPECT_TRUE(rig.HasUniform(water, uniform)) << "water: " << uniform;
    }
}

TEST_F(ShaderPrograms, BallIsALitDiscThatShowsItsState) {
    REQUIRE_CONTEXT(context);
    content::k_ShaderRig rig;
    ASSERT_TRUE(rig.IsReady());
    GLuint program = LinkPair(rig, "ball");
    ASSERT_NE(program, 0u);
    GLuint picture = UploadBall(rig);

    auto render = [&](int state, float time, float alpha) {
        rig.BeginTarget(k_BallSize, k_BallSize);
        rig.SetInt(program, "ballState", state);
        rig.DrawSprite(program, picture, 0, 0, k_BallSize, k_BallSize, time, alpha);
        return rig.ReadTarget();
    };
    double brightness[3];
    for (int state = 0; state < 3; ++state) {
        std::vector<std::uint8_t> pixels = render(state, 1.0f, 1.0f);
        EXPECT_EQ(AlphaAt(pixels, k_BallSize, 0, 0), 0) << "state " << state;
        EXPECT_EQ(AlphaAt(pixels, k_BallSize, k_BallSize - 1, k_BallSize - 1), 0) << "state " << state;
        EXPECT_EQ(AlphaAt(pixels, k_BallSize, k_BallSize / 2, k_BallSize / 2), 255) << "state " << state;
        brightness[state] = OpaqueBrightness(pixels);
    }
    EXPECT_GT(brightness[1], brightness[0] + 10) << "up should look livelier";
    EXPECT_GT(brightness[0], brightness[2] + 10) << "down should look heavier";

    double dimmest = 255, brightest = 0;
    for (float time = 0.0f; time < 1.0f; time += 0.1f) {
        double seen = OpaqueBrightness(render(1, time, 1.0f));
        dimmest = std::min(dimmest, seen);
        brightest = std::max(brightest, seen);
    }
    EXPECT_GT(brightest - dimmest, 5.0) << "the glow with up held should pulse";

    std::vector<std::uint8_t> faded = render(0, 1.0f, k_FadedAlpha);
    EXPECT_NEAR(AlphaAt(faded, k_BallSize, k_BallSize / 2, k_BallSize / 2), k_FadedAlpha * 255, 2);
}

TEST_F(ShaderPrograms, WaterIsAnimatedSeeThroughAndFadesWithTheSprite) {
    REQUIRE_CONTEXT(context);
    content::k_ShaderRig rig;
    ASSERT_TRUE(rig.IsReady());
    GLuint program = LinkPair(rig, "water");
    ASSERT_NE(program, 0u);

    auto render = [&](float time, float alpha) {
        rig.BeginTarget(k_WaterSize, k_WaterSize);
        rig.DrawSprite(program, 0, 0, 0, k_WaterSize, k_WaterSize, time, alpha);
        return rig.ReadTarget();
    };
    std::vector<std::uint8_t> first = render(0.0f, 1.0f);
    std::vector<std::uint8_t> later = render(0.7f, 1.0f);
    EXPECT_NE(first, later) << "water should move with time";
    for (int y = k_WaterSize / 4; y < k_WaterSize; ++y) {
        for (int x = 0; x < k_WaterSize; ++x) {
            std::uint8_t alpha = AlphaAt(first, k_WaterSize, x, y);
            ASSERT_GT(alpha, 64) << x << "," << y;
            ASSERT_LT(alpha, 255) << x << "," << y;
        }
    }
    std::vector<std::uint8_t> faded = render(0.0f, k_FadedAlpha);
    for (size_t i = 3; i < faded.size(); i += 4) {
        ASSERT_LE(faded[i], k_FadedAlpha * 255 + 1);
    }
}

TEST_F(ShaderPrograms, RendersPreviewsForPeopleToLookAt) {
    REQUIRE_CONTEXT(context);
    content::k_ShaderRig rig;
    ASSERT_TRUE(rig.IsReady());
    GLuint ball = LinkPair(rig, "ball");
    GLuint water = LinkPair(rig, "water");
    ASSERT_TRUE(ball && water);
    GLuint picture = UploadBall(rig);
    const float sky[4] = {0.55f, 0.75f, 0.93f, 1.0f};

    const int spacing = 40;
    rig.BeginTarget(spacing * 3, spacing, sky);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (int state = 0; state < 3; ++state) {
        rig.SetInt(ball, "ballState", state);
        rig.DrawSprite(ball, picture, state * spacing + 4.0f, 4.0f, k_BallSize, k_BallSize, 0.1f, 1.0f);
    }
    WritePreview("ball_states.png", spacing * 3, spacing, rig.ReadTarget());

    const int columns = 4, rows = 2, margin = 10;
    int width = columns * k_WaterSize + 2 * margin, height = rows * k_WaterSize + 2 * margin;
    rig.BeginTarget(width, height, sky);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.45f, 0.3f, 0.2f, 1.0f);
    glRectf(margin + 60.0f, margin + 30.0f, margin + 140.0f, static_cast<float>(height));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            rig.DrawSprite(water, 0, margin + column * k_WaterSize, margin + row * k_WaterSize, k_WaterSize, k_WaterSize,
                           0.5f, column == columns - 1 ? k_FadedAlpha : 1.0f);
        }
    }
    WritePreview("water_tiles.png", width, height, rig.ReadTarget());
}
