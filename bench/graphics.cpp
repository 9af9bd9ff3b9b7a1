// Picture loading and scene drawing, each measured against a plain baseline in the same run;
// the figures that matter are the ratios printed at the end.
//   picture loading: decoding and uploading 200 PNG pictures of the game's sizes through
//     k_Texture, against decoding the same files straight with libpng into a reused buffer;
//   scene drawing: AccumulateScene of 2,000 sprites in 10 layers, against drawing the same
//     quads with the same textures in plain immediate mode followed by the same glAccum.
// Each figure is the median of 5 repetitions. Picture loading is timed in CPU time of the
// calling thread, which does all of it; drawing on the wall clock, since the software
// renderer rasterises on threads of its own. Needs a display (run under xvfb-run).
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "IFrameBufferObject.h"
#include "graphics/PngDecoder.h"
#include "graphics/k_Graphics.h"
#include "graphics/k_Texture.h"
#include "platform/OffscreenContext.h"
#include "tests/support/FakeEngine.h"
#include "tests/support/MemoryFiles.h"
#include "tests/support/PngWriter.h"
#include "world/k_Sprite.h"

namespace {

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
constexpr int kPictureCount = 200;
constexpr int kSpriteCount = 2000;
constexpr int kLayerCount = 10;
constexpr float kSubStepWeight = 0.5f;

struct Size {
    int width;
    int height;
    bool alpha;
};

// Full-screen pictures (splash, death, backgrounds) among the sprites' own sizes.
const Size kPictureSizes[] = {{800, 600, false}, {32, 32, true}, {64, 16, true},  {128, 32, true}, {32, 32, true},
                              {16, 64, true},    {50, 50, true}, {64, 64, true},  {128, 32, true}, {256, 32, true},
                              {64, 16, true},    {32, 32, true}, {96, 48, false}, {64, 16, true},  {32, 32, true},
                              {128, 32, true},   {48, 48, true}, {64, 32, true},  {32, 128, true}, {64, 16, true}};
const Size kSpriteSizes[] = {{32, 32, true}, {64, 16, true}, {128, 32, true}, {16, 64, true},
                             {50, 50, true}, {64, 64, true}, {256, 32, true}, {48, 48, true}};

// Smooth shading with a little grain, like painted game art (neither flat nor noise).
PngPicture ArtPicture(Size size, unsigned seed) {
    std::minstd_rand grain(seed);
    return TrueColourPicture(size.width, size.height, size.alpha, [&](int x, int y) {
        double u = static_cast<double>(x) / size.width;
        double v = static_cast<double>(y) / size.height;
        int noise = static_cast<int>(grain() % 9) - 4;
        auto channel = [&](double value) { return std::clamp(static_cast<int>(value * 255) + noise, 0, 255); };
        double round = 1.0 - std::hypot(u - 0.5, v - 0.5) * 2.0;
        return std::array<int, 4>{channel(0.5 + 0.5 * std::sin(6 * u + seed)), channel(v), channel(0.3 + 0.4 * u * v),
                                  channel(std::clamp(round * 3.0, 0.0, 1.0))};
    });
}

std::vector<std::vector<std::uint8_t>>& PictureFiles() {
    static std::vector<std::vector<std::uint8_t>> files = [] {
        std::vector<std::vector<std::uint8_t>> made;
        for (int index = 0; index < kPictureCount; ++index) {
            const Size& size = kPictureSizes[index % std::size(kPictureSizes)];
            made.push_back(WritePng(ArtPicture(size, static_cast<unsigned>(index))));
        }
        return made;
    }();
    return files;
}

k_OffscreenContext& Context() {
    static k_OffscreenContext context(kWindowWidth, kWindowHeight);
    return context;
}

bool RequireContext(benchmark::State& state) {
    if (!Context().IsReady()) {
        state.SkipWithError(("no OpenGL context: " + Context().Error()).c_str());
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- plain libpng decoding

struct MemoryReader {
    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t cursor;
};

void ReadMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->cursor) {
        png_error(png, "end of data");
    }
    std::memcpy(out, reader->bytes + reader->cursor, count);
    reader->cursor += count;
}

bool DecodeWithLibpng(const std::vector<std::uint8_t>& file, std::vector<std::uint8_t>& pixels,
                      std::vector<png_bytep>& rows) {
    MemoryReader reader{file.data(), file.size(), 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    bool decoded = false;
    if (!setjmp(png_jmpbuf(png))) {
        png_set_read_fn(png, &reader, ReadMemory);
        png_read_info(png, info);
        png_uint_32 width = png_get_image_width(png, info);
        png_uint_32 height = png_get_image_height(png, info);
        png_read_update_info(png, info);
        std::size_t rowBytes = png_get_rowbytes(png, info);
        if (pixels.size() < rowBytes * height) {
            pixels.resize(rowBytes * height);
        }
        rows.resize(height);
        for (png_uint_32 row = 0; row < height; ++row) {
            rows[row] = pixels.data() + (height - 1 - row) * rowBytes;
        }
        png_read_image(png, rows.data());
        png_read_end(png, nullptr);
        decoded = width > 0;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return decoded;
}

void PicturesDecodedByLibpng(benchmark::State& state) {
    const auto& files = PictureFiles();
    std::vector<std::uint8_t> pixels;
    std::vector<png_bytep> rows;
    for (auto _ : state) {
        for (const auto& file : files) {
            if (!DecodeWithLibpng(file, pixels, rows)) {
                state.SkipWithError("libpng refused a benchmark picture");
                return;
            }
        }
        benchmark::DoNotOptimize(pixels.data());
    }
}

void PicturesLoadedAsTextures(benchmark::State& state) {
    if (!RequireContext(state)) {
        return;
    }
    MemoryFileSystem fileSystem;
    std::vector<std::wstring> names;
    for (std::size_t index = 0; index < PictureFiles().size(); ++index) {
        names.push_back(L"picture" + std::to_wstring(index) + L".png");
        fileSystem.files[names.back()] = PictureFiles()[index];
    }
    FakeEngine engine;
    engine.fileSystem = &fileSystem;
    k_Graphics graphics(&engine);
    graphics.SetSize(kWindowWidth, kWindowHeight);
    for (auto _ : state) {
        for (const std::wstring& name : names) {
            k_Texture texture(&engine, name);
            benchmark::DoNotOptimize(texture.GetId());
        }
        glFinish();
    }
}

// ---------------------------------------------------------------- scene drawing

class SceneFixture {
public:
    SceneFixture() : graphics(&engine) {
        engine.fileSystem = &fileSystem;
        engine.graphics = &graphics;
        graphics.SetSize(kWindowWidth, kWindowHeight);
        for (std::size_t index = 0; index < std::size(kSpriteSizes); ++index) {
            std::wstring name = L"sprite" + std::to_wstring(index) + L".png";
            fileSystem.files[name] = WritePng(ArtPicture(kSpriteSizes[index], static_cast<unsigned>(index)));
            textures.push_back(std::make_unique<k_Texture>(&engine, name));
        }
        std::minstd_rand random(2024);
        for (int index = 0; index < kSpriteCount; ++index) {
            ITexture* texture = textures[random() % textures.size()].get();
            sprites.push_back(std::make_unique<k_Sprite>(&engine, r_SpriteType::Background));
            k_Sprite& sprite = *sprites.back();
            sprite.SetTexture(texture);
            sprite.GetData().left = static_cast<float>(random() % (kWindowWidth - texture->GetWidth()));
            sprite.GetData().top = static_cast<float>(random() % (kWindowHeight - texture->GetHeight()));
            sprite.GetData().depth = index % kLayerCount;
            engine.AddSprite(&sprite, false, nullptr);
        }
    }

    MemoryFileSystem fileSystem;
    FakeEngine engine;
    k_Graphics graphics;
    std::vector<std::unique_ptr<k_Texture>> textures;
    std::vector<std::unique_ptr<k_Sprite>> sprites;
};

void DrawPlainQuads(const SpriteLayers& layers) {
    glEnable(GL_TEXTURE_2D);
    for (const auto& [depth, sprites] : layers) {
        for (ISprite* sprite : sprites) {
            ITexture* texture = sprite->GetTexture();
            const SpriteData& data = sprite->GetData();
            float width = static_cast<float>(texture->GetWidth());
            float height = static_cast<float>(texture->GetHeight());
            glBindTexture(GL_TEXTURE_2D, texture->GetId());
            glBegin(GL_QUADS);
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            glTexCoord2i(0, 1);
            glVertex2f(data.left, data.top);
            glTexCoord2i(1, 1);
            glVertex2f(data.left + width, data.top);
            glTexCoord2i(1, 0);
            glVertex2f(data.left + width, data.top + height);
            glTexCoord2i(0, 0);
            glVertex2f(data.left, data.top + height);
            glEnd();
        }
    }
    glDisable(GL_TEXTURE_2D);
}

void SceneDrawnAsPlainQuads(benchmark::State& state) {
    if (!RequireContext(state)) {
        return;
    }
    SceneFixture scene;
    SpriteLayers layers = scene.engine.GetSpritesByLayer();
    for (auto _ : state) {
        DrawPlainQuads(layers);
        glAccum(GL_ACCUM, kSubStepWeight);
        glFinish();
    }
}

void SceneDrawnAsPlainQuadsWithoutAccumulation(benchmark::State& state) {
    if (!RequireContext(state)) {
        return;
    }
    SceneFixture scene;
    SpriteLayers layers = scene.engine.GetSpritesByLayer();
    for (auto _ : state) {
        DrawPlainQuads(layers);
        glFinish();
    }
}

void SceneAccumulated(benchmark::State& state) {
    if (!RequireContext(state)) {
        return;
    }
    SceneFixture scene;
    for (auto _ : state) {
        scene.graphics.AccumulateScene(kSubStepWeight);
        glFinish();
    }
}

void PicturesDecodedByOurDecoder(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& file : PictureFiles()) {
            PngImage image;
            std::string error;
            if (!DecodePng(file.data(), file.size(), image, error)) {
                state.SkipWithError(error.c_str());
                return;
            }
            benchmark::DoNotOptimize(image.pixels.data());
        }
    }
}

constexpr int kRepetitions = 5;
BENCHMARK(PicturesDecodedByLibpng)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);
BENCHMARK(PicturesDecodedByOurDecoder)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);
BENCHMARK(PicturesLoadedAsTextures)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);
BENCHMARK(SceneDrawnAsPlainQuads)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(kRepetitions);
BENCHMARK(SceneDrawnAsPlainQuadsWithoutAccumulation)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(kRepetitions);
BENCHMARK(SceneAccumulated)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(kRepetitions);

// Prints the usual table, then each measured figure as a ratio of medians to its baseline.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    enum class Clock { AsMeasured, CallingThread };

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" && !run.error_occurred) {
                bool wallClock = run.run_name.time_type == "real_time";
                const std::string& name = run.run_name.function_name;
                medians[name] = wallClock ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
                cpuMedians[name] = run.GetAdjustedCPUTime();
            }
        }
    }

    // A goal of 0 prints the ratio for scale only.
    void PrintRatio(const char* what, const std::string& measured, const std::string& baseline, double goal,
                    Clock clock = Clock::AsMeasured) {
        const auto& times = clock == Clock::AsMeasured ? medians : cpuMedians;
        auto found = times.find(measured);
        auto reference = times.find(baseline);
        if (found == times.end() || reference == times.end()) {
            std::printf("%-70s not measured\n", what);
            return;
        }
        double ratio = found->second / reference->second;
        if (goal > 0) {
            std::printf("%-70s %.3f (goal <= %.1f) %s\n", what, ratio, goal, ratio <= goal ? "ok" : "MISSED");
        } else {
            std::printf("%-70s %.3f\n", what, ratio);
        }
    }

private:
    std::map<std::string, double> medians;
    std::map<std::string, double> cpuMedians;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    PictureFiles();  // made once, before anything is timed
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios in this run:\n");
    const double kNoGoal = 0;
    reporter.PrintRatio("decode and upload 200 pictures / plain libpng decoding", "PicturesLoadedAsTextures",
                        "PicturesDecodedByLibpng", 1.3);
    reporter.PrintRatio("AccumulateScene of 2,000 sprites / plain quads and glAccum", "SceneAccumulated",
                        "SceneDrawnAsPlainQuads", 1.3);
    reporter.PrintRatio("(for scale) decoding alone / plain libpng decoding", "PicturesDecodedByOurDecoder",
                        "PicturesDecodedByLibpng", kNoGoal);
    reporter.PrintRatio("(for scale) AccumulateScene / plain quads and glAccum, drawing thread", "SceneAccumulated",
                        "SceneDrawnAsPlainQuads", kNoGoal, RatioReporter::Clock::CallingThread);
    reporter.PrintRatio("(for scale) AccumulateScene / plain quads without glAccum", "SceneAccumulated",
                        "SceneDrawnAsPlainQuadsWithoutAccumulation", kNoGoal);
    benchmark::Shutdown();
    return 0;
}
