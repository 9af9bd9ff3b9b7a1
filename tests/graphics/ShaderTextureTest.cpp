#include <GL/gl.h>
#include <GL/glext.h>

#include "graphics/k_ShaderTexture.h"
#include "platform/GLProcAddress.h"
#include "support/DrawingFixture.h"
#include "support/Failures.h"

namespace {

const char* const kVertexShader = R"(
void main() {
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
})";

// Shows its size and the time as colours.
const char* const kUniformShader = R"(
uniform int width;
uniform int height;
uniform float time;
void main() {
    gl_FragColor = vec4(float(width) / 255.0, float(height) / 255.0, time / 10.0, 1.0);
})";

// Red from the texture on unit 0, green from the one on unit 1.
const char* const kTwoInputShader = R"(
uniform sampler2D texture0;
uniform sampler2D texture1;
void main() {
    vec2 at = gl_TexCoord[0].st;
    gl_FragColor = vec4(texture2D(texture0, at).r, texture2D(texture1, at).g, 0.0, 1.0);
})";

const char* const kConstantShader = "void main() { gl_FragColor = vec4(0.0, 0.0, 1.0, 1.0); }";

}  // namespace

class ShaderTextureTest : public DrawingTest {
protected:
    std::unique_ptr<k_ShaderTexture> MakeShader(const std::string& fragmentSource, int width, int height) {
        files.Add(L"test.vs", kVertexShader);
        files.Add(L"test.fs", fragmentSource);
        return std::make_unique<k_ShaderTexture>(&engine, L"Test", L"test.vs", L"test.fs", width, height);
    }
};

TEST_F(ShaderTextureTest, ProgramReadsItsOwnSizeAndTheEngineTime) {
    auto shader = MakeShader(kUniformShader, 50, 100);
    auto input = SolidTexture(L"input.png", 4, 4, {0, 0, 0, 255});
    shader->SetTexture(input.get(), 0);
    engine.time = 2.5f;
    AddSprite(shader.get(), 0, 0);
    AddSprite(shader.get(), 60, 0);
    graphics.AccumulateScene(1.0f);
    EXPECT_TRUE(ColourNear(ReadPixel(25, 50), {50, 100, 64, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(109, 99), {50, 100, 64, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(110, 50), {0, 0, 0, 255}));  // beyond the quad
}

TEST_F(ShaderTextureTest, InputsAreReadOnTheirUnitsAndReplaceable) {
    auto shader = MakeShader(kTwoInputShader, 16, 16);
    auto red = SolidTexture(L"red.png", 2, 2, {255, 0, 0, 255});
    auto black = SolidTexture(L"black.png", 2, 2, {0, 0, 0, 255});
    auto green = SolidTexture(L"green.png", 2, 2, {0, 255, 0, 255});
    shader->SetTexture(black.get(), 1);
    shader->SetTexture(red.get(), 0);
    shader->SetTexture(green.get(), 1);
    AddSprite(shader.get(), 0, 0);
    graphics.AccumulateScene(1.0f);
    EXPECT_TRUE(ColourNear(ReadPixel(8, 8), {255, 255, 0, 255}));
}

TEST_F(ShaderTextureTest, ProgramWithoutBuiltInUniformsDrawsUntilUnboundAndIsDeletedWithTheTexture) {
    auto shader = MakeShader(kConstantShader, 8, 8);
    engine.time = 1.0f;
    AddSprite(shader.get(), 0, 0);
    auto red = SolidTexture(L"red.png", 2, 2, {255, 0, 0, 255});
    AddSprite(red.get(), 20, 0, 1);
    graphics.AccumulateScene(1.0f);
    EXPECT_TRUE(ColourNear(ReadPixel(4, 4), {0, 0, 255, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(20, 0), {255, 0, 0, 255})) << "the next sprite draws without the program";
    GLuint program = shader->GetId();
    auto isProgram = reinterpret_cast<PFNGLISPROGRAMPROC>(GetGLProcAddress("glIsProgram"));
    ASSERT_NE(isProgram, nullptr);
    EXPECT_TRUE(isProgram(program));
    shader.reset();
    EXPECT_FALSE(isProgram(program));
}

TEST_F(ShaderTextureTest, CompileAndLinkErrorsAreWrittenWithTheirLogs) {
    testing::internal::CaptureStderr();
    auto shader = MakeShader("void main() { this is not GLSL; }", 8, 8);
    std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(written.find("Error compiling vertex shader!"), std::string::npos);
    std::size_t compileLine = written.find("Error compiling fragment shader!\n");
    std::size_t linkLine = written.find("Error linking shaders.\n");
    ASSERT_NE(compileLine, std::string::npos) << written;
    ASSERT_NE(linkLine, std::string::npos) << written;
    EXPECT_GT(linkLine - compileLine, std::string("Error compiling fragment shader!\n").size()) << "no log: " << written;
    // Drawing with the unlinked program falls back to fixed-function drawing.
    AddSprite(shader.get(), 0, 0);
    graphics.AccumulateScene(1.0f);
}

TEST_F(ShaderTextureTest, RefusesAMissingSourcePixelCopiesAndUnitsBeyondNine) {
    files.Add(L"water.vs", kVertexShader);
    EXPECT_TRUE(Contains(FailureOf([&] { k_ShaderTexture water(&engine, L"Water", L"water.vs", L"water.fs", 50, 50); }),
                         {L"water.fs"}));
    auto shader = MakeShader(kConstantShader, 8, 8);
    EXPECT_EQ(FailureOf([&] { shader->CopyPixels(0, 0); }), L"Cannot copy pixels into a shader texture!");
    auto red = SolidTexture(L"red.png", 2, 2, {255, 0, 0, 255});
    EXPECT_THROW(shader->SetTexture(red.get(), 10), k_Failure);
    EXPECT_THROW(shader->SetTexture(red.get(), -1), k_Failure);
}
