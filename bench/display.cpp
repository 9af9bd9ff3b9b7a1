// Frame rate of the game's window on a display larger than the scene, measured against the
// plain 800 x 600 window in the same run; the figure that matters is the ratio at the end.
//   baseline: an 800 x 600 window, the scene drawn straight into it;
//   full screen: the same window asked for full screen on a display without an 800 x 600
//     mode, so that it covers the desktop and the scene is scaled to fill it, smoothly, by the
//     presenter the window chooses for the renderer (ROLLANDIA_SCALING=server|opengl forces one).
// A frame is what the game does each frame: clear, two sub-steps drawn into the accumulation
// buffer, the blended picture returned, presented and swapped. The scene is a game screen: a
// full-screen background picture and 60 sprites. Both windows are open at once and draw their
// frames in turn, each frame timed on the wall clock until the renderer has finished it, so
// that whatever else the machine does falls on both alike; the figures are the medians of the
// frame times. Run under xvfb-run -s "-screen 0 1024x768x24", whose one mode is 1024 x 768.
#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Failure.h"
#include "WideText.h"
#include "graphics/k_Graphics.h"
#include "graphics/k_Texture.h"
#include "platform/ScenePresenter.h"
#include "platform/k_Window.h"
#include "tests/support/FakeEngine.h"
#include "tests/support/MemoryFiles.h"
#include "tests/support/PngWriter.h"
#include "world/k_Sprite.h"

namespace {

constexpr int kSceneWidth = 800;
constexpr int kSceneHeight = 600;
constexpr int kSpriteCount = 60;
constexpr int kLayerCount = 4;
constexpr float kSubStepWeight = 0.5f;
constexpr int kSpriteSizes[][2] = {{32, 32}, {64, 16}, {128, 32}, {16, 64}, {64, 64}, {256, 32}};
// The frame rate on the large display must stay at least 80 % of the window's.
constexpr double kFrameTimeGoal = 1.0 / 0.8;

PngPicture Shaded(int width, int height, unsigned seed) {
    return TrueColourPicture(width, height, true, [&](int x, int y) {
        int shade = (x * 255 / width + y * 255 / height + static_cast<int>(seed) * 40) % 256;
        return std::array<int, 4>{shade, 255 - shade, (shade * 3) % 256, 255};
    });
}

// A window of the game's size with the real graphics and a game screen's sprites.
class GameScreen {
public:
    explicit GameScreen(bool fullscreen) : graphics(&engine) {
        engine.graphics = &graphics;
        engine.fileSystem = &files;
        window = std::make_unique<k_Window>(&engine, L"Rollandia display benchmark", kSceneWidth, kSceneHeight,
                                            fullscreen);
        window->Open();
        context = SDL_GL_GetCurrentContext();
        engine.window = window.get();
        files.files[L"background.png"] = WritePng(Shaded(kSceneWidth, kSceneHeight, 0));
        textures.push_back(std::make_unique<k_Texture>(&engine, L"background.png"));
        AddSprite(textures.back().get(), 0, 0, 0);
        std::minstd_rand random(7);
        for (std::size_t index = 0; index < std::size(kSpriteSizes); ++index) {
            std::wstring name = L"sprite" + std::to_wstring(index) + L".png";
            files.files[name] = WritePng(Shaded(kSpriteSizes[index][0], kSpriteSizes[index][1], index + 1));
            textures.push_back(std::make_unique<k_Texture>(&engine, name));
        }
        for (int index = 0; index < kSpriteCount; ++index) {
            ITexture* texture = textures[1 + random() % (textures.size() - 1)].get();
            AddSprite(texture, static_cast<float>(random() % (kSceneWidth - texture->GetWidth())),
                      static_cast<float>(random() % (kSceneHeight - texture->GetHeight())), 1 + index % kLayerCount);
        }
    }

    void MakeCurrent() { SDL_GL_MakeCurrent(static_cast<SDL_Window*>(window->GetHandle()), context); }

    // Draws a frame and returns its time in milliseconds.
    double DrawFrame() {
        auto start = std::chrono::steady_clock::now();
        graphics.Clear();
        graphics.AccumulateScene(kSubStepWeight);
        graphics.AccumulateScene(kSubStepWeight);
        graphics.ShowAccumulated();
        window->SwapBuffers();
        glFinish();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }

    std::string DrawableSize() const {
        int width = 0;
        int height = 0;
        SDL_GL_GetDrawableSize(static_cast<SDL_Window*>(window->GetHandle()), &width, &height);
        return std::to_string(width) + " x " + std::to_string(height);
    }

private:
    void AddSprite(ITexture* texture, float left, float top, int depth) {
        sprites.push_back(std::make_unique<k_Sprite>(&engine, r_SpriteType::Background));
        sprites.back()->SetTexture(texture);
        sprites.back()->GetData().left = left;
        sprites.back()->GetData().top = top;
        sprites.back()->GetData().depth = depth;
        engine.AddSprite(sprites.back().get(), false, nullptr);
    }

    FakeEngine engine;
    MemoryFileSystem files;
    k_Graphics graphics;
    std::unique_ptr<k_Window> window;
    SDL_GLContext context = nullptr;
    std::vector<std::unique_ptr<k_Texture>> textures;
    std::vector<std::unique_ptr<k_Sprite>> sprites;
};

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Each iteration draws one frame in the window and one full screen.
void FramesInTurn(benchmark::State& state) {
    std::unique_ptr<GameScreen> window;
    std::unique_ptr<GameScreen> fullScreen;
    try {
        window = std::make_unique<GameScreen>(false);
        fullScreen = std::make_unique<GameScreen>(true);
    } catch (const k_Failure& failure) {
        state.SkipWithError(ToUtf8(failure.Message()).c_str());
        return;
    }
    for (int warmUp = 0; warmUp < 10; ++warmUp) {
        SDL_PumpEvents();  // lets the full-screen window reach its size
        window->MakeCurrent();
        window->DrawFrame();
        fullScreen->MakeCurrent();
        fullScreen->DrawFrame();
    }
    std::vector<double> windowTimes;
    std::vector<double> fullScreenTimes;
    for (auto _ : state) {
        window->MakeCurrent();
        windowTimes.push_back(window->DrawFrame());
        fullScreen->MakeCurrent();
        fullScreenTimes.push_back(fullScreen->DrawFrame());
    }
    double windowMedian = Median(windowTimes);
    double fullScreenMedian = Median(fullScreenTimes);
    state.counters["window_ms"] = windowMedian;
    state.counters["full_screen_ms"] = fullScreenMedian;
    state.counters["ratio"] = fullScreenMedian / windowMedian;
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const bool byTheServer = ChoosePresenterForThisContext() == PresenterKind::Server;
    state.SetLabel(window->DrawableSize() + " window, " + fullScreen->DrawableSize() + " full screen scaled by " +
                   (byTheServer ? "the X server" : "OpenGL") + " on " + (renderer ? renderer : "?"));
}

BENCHMARK(FramesInTurn)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0)->Repetitions(5);

// Prints the usual table, then the median over the repetitions of the frame time full
// screen as a ratio to the window's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            auto ratio = run.counters.find("ratio");
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" && !run.error_occurred &&
                ratio != run.counters.end()) {
                medianRatio = ratio->second.value;
            }
        }
    }

    void PrintRatio() const {
        if (medianRatio <= 0.0) {
            std::printf("frame time full screen / 800 x 600 window: not measured\n");
            return;
        }
        std::printf("frame time full screen on the desktop / 800 x 600 window %.3f (goal <= %.2f) %s; "
                    "frame rate %.0f %% of the window's\n",
                    medianRatio, kFrameTimeGoal, medianRatio <= kFrameTimeGoal ? "ok" : "MISSED",
                    100.0 / medianRatio);
    }

private:
    double medianRatio = 0.0;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatio in this run:\n");
    reporter.PrintRatio();
    benchmark::Shutdown();
    return 0;
}
