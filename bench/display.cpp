// Frame rate of the game's window on a display larger than the scene, measured against the
// plain 800 x 600 window in the same run; the figure that matters is the ratio at the end.
//   baseline: an 800 x 600 window, the scene drawn straight into it;
//   full screen: the same window asked for full screen on a display without an 800 x 600
//     mode, so that it covers the desktop and the scene is scaled to fill it.
// A frame is what the game does each frame: clear, two sub-steps drawn into the accumulation
// buffer, the blended picture returned, presented and swapped. The scene is a game screen: a
// full-screen background picture and 60 sprites. Each figure is the median of 5 repetitions,
// on the wall clock, and also in CPU time of all the process's threads (the software renderer
// draws on threads of its own), which a busy machine disturbs less. Run under
// xvfb-run -s "-screen 0 1024x768x24", whose one mode is 1024 x 768.
#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <array>
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

    void DrawFrame() {
        graphics.Clear();
        graphics.AccumulateScene(kSubStepWeight);
        graphics.AccumulateScene(kSubStepWeight);
        graphics.ShowAccumulated();
        window->SwapBuffers();
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
    std::vector<std::unique_ptr<k_Texture>> textures;
    std::vector<std::unique_ptr<k_Sprite>> sprites;
};

void RunFrames(benchmark::State& state, bool fullscreen) {
    std::unique_ptr<GameScreen> screen;
    try {
        screen = std::make_unique<GameScreen>(fullscreen);
    } catch (const k_Failure& failure) {
        state.SkipWithError(ToUtf8(failure.Message()).c_str());
        return;
    }
    for (int warmUp = 0; warmUp < 10; ++warmUp) {
        SDL_PumpEvents();  // lets the window reach its full-screen size
        screen->DrawFrame();
    }
    for (auto _ : state) {
        screen->DrawFrame();
    }
    state.SetLabel(screen->DrawableSize());
}

void FramesInASceneSizedWindow(benchmark::State& state) {
    RunFrames(state, false);
}

void FramesFullScreenOnTheDesktop(benchmark::State& state) {
    RunFrames(state, true);
}

constexpr int kRepetitions = 5;
BENCHMARK(FramesInASceneSizedWindow)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(kRepetitions);
BENCHMARK(FramesFullScreenOnTheDesktop)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(kRepetitions);

// Prints the usual table, then the frame time on the large display as a ratio of medians to
// the window's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" && !run.error_occurred) {
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
                cpuMedians[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
    }

    enum class Clock { Wall, ProcessCpu };

    void PrintRatio(const char* what, const std::string& measured, const std::string& baseline, double goal,
                    Clock clock) {
        const auto& times = clock == Clock::Wall ? medians : cpuMedians;
        auto found = times.find(measured);
        auto reference = times.find(baseline);
        if (found == times.end() || reference == times.end()) {
            std::printf("%-70s not measured\n", what);
            return;
        }
        double ratio = found->second / reference->second;
        std::printf("%-70s %.3f (goal <= %.2f) %s; frame rate %.0f %% of the window's\n", what, ratio, goal,
                    ratio <= goal ? "ok" : "MISSED", 100.0 / ratio);
    }

private:
    std::map<std::string, double> medians;
    std::map<std::string, double> cpuMedians;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios in this run:\n");
    reporter.PrintRatio("frame time full screen on the desktop / 800 x 600 window", "FramesFullScreenOnTheDesktop",
                        "FramesInASceneSizedWindow", kFrameTimeGoal, RatioReporter::Clock::Wall);
    reporter.PrintRatio("(steadier on a busy machine) the same in CPU time of all threads",
                        "FramesFullScreenOnTheDesktop", "FramesInASceneSizedWindow", kFrameTimeGoal,
                        RatioReporter::Clock::ProcessCpu);
    benchmark::Shutdown();
    return 0;
}
