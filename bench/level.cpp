// The level file's reading and writing against their floors, in one run:
//   loading a universe of 300 screens of 60 sprites against a bare DOM parse of the same file
//   (goal: ratio at most 1.5), and saving it against a durable write of the same bytes:
//   a temporary file, one write, fsync, a rename over the target and an fsync of the folder
//   (goal: ratio at most 1.3). The ratios are printed after the timings.
// The baselines use the XML library and the system calls directly: they are the floors the
// reader and the writer are measured by. The files go in the current folder rather than in
// /tmp, which may be held in memory where fsync costs nothing.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <xercesc/dom/DOM.hpp>

#include "WideText.h"
#include "tests/support/WorldFakes.h"
#include "world/LevelWriter.h"
#include "world/XmlPlatformSession.h"
#include "world/k_Universe.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWorlds = 3;
constexpr int kScreensPerWorld = 100;
constexpr int kSpritesPerScreen = 60;
constexpr double kLoadGoal = 1.5;
constexpr double kSaveGoal = 1.3;
constexpr mode_t kWrittenFileMode = 0644;
const char* const kDurableWrite = "DurableWrite";

using Clock = std::chrono::steady_clock;

const wchar_t* const kTextures[] = {L"brick.png", L"stone.png", L"grass.png", L"Water", L"door.png", L"spikes.png"};

struct Files {
    fs::path directory;
    fs::path level;
    fs::path saved;
    fs::path written;
    std::string text;
};

Files& BenchFiles() {
    static Files files;
    return files;
}

void FillUniverse(IUniverse& universe) {
    for (int w = 0; w < kWorlds; ++w) {
        std::unique_ptr<IWorld> world = universe.CreateWorld();
        for (int s = 0; s < kScreensPerWorld; ++s) {
            std::unique_ptr<IScreen> screen = world->CreateScreen(s % 10, s / 10 - 5);
            for (int i = 0; i < kSpritesPerScreen; ++i) {
                SpriteData record;
                record.type = static_cast<r_SpriteType::Value>(i % 6);
                record.texture = kTextures[i % 6];
                record.special = record.texture == L"Water";
                record.left = static_cast<float>((i * 37) % 800) + 0.25f;
                record.top = static_cast<float>((i * 53) % 600) - 0.75f;
                record.depth = i % 4;
                record.isStatic = i % 3 == 0;
                screen->GetSpriteData().push_back(record);
            }
            world->GetScreens().push_back(std::move(screen));
        }
        universe.GetWorlds().push_back(std::move(world));
    }
    universe.SetCurrentWorld(universe.GetWorlds().front().get());
}

void PrepareFiles() {
    Files& files = BenchFiles();
    std::string pattern = (fs::current_path() / "rollandia-bench-level-XXXXXX").string();
    files.directory = mkdtemp(pattern.data());
    files.level = files.directory / "universe.xml";
    files.saved = files.directory / "saved.xml";
    files.written = files.directory / "written.xml";
    WorldFakeEngine engine;
    k_Universe universe(&engine);
    engine.universe = &universe;
    FillUniverse(universe);
    universe.SaveToPath(FromUtf8(files.level.string()));
    files.text = FormatLevel(universe);
}

void LoadLevel(benchmark::State& state) {
    WorldFakeEngine engine;
    k_Universe universe(&engine);
    engine.universe = &universe;
    const std::wstring path = FromUtf8(BenchFiles().level.string());
    for (auto _ : state) {
        universe.LoadFromPath(path);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * BenchFiles().text.size()));
}

void BareDomParse(benchmark::State& state) {
    using namespace xercesc;
    const XMLCh features[] = u"LS";
    DOMImplementation* implementation = DOMImplementationRegistry::getDOMImplementation(features);
    const std::string path = BenchFiles().level.string();
    for (auto _ : state) {
        DOMLSParser* parser =
            static_cast<DOMImplementationLS*>(implementation)->createLSParser(DOMImplementationLS::MODE_SYNCHRONOUS, nullptr);
        benchmark::DoNotOptimize(parser->parseURI(path.c_str()));
        parser->release();
    }
}

// The steps every durable replacement takes, with nothing else around them.
void WriteDurably() {
    const Files& files = BenchFiles();
    const std::string path = files.written.string();
    const std::string temporary = path + ".tmp";
    const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kWrittenFileMode);
    benchmark::DoNotOptimize(write(file, files.text.data(), files.text.size()));
    fsync(file);
    close(file);
    std::rename(temporary.c_str(), path.c_str());
    const int folder = open(files.directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    fsync(folder);
    close(folder);
}

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

// A save and a durable write of the same bytes take turns in every iteration, so that both
// meet the disk in the same state: the disk's pace drifts with whatever else the machine
// does. The save's time is the benchmark's; the write's is a counter beside it.
void SaveLevel(benchmark::State& state) {
    WorldFakeEngine engine;
    k_Universe universe(&engine);
    engine.universe = &universe;
    FillUniverse(universe);
    const std::wstring path = FromUtf8(BenchFiles().saved.string());
    double writeSeconds = 0.0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        universe.SaveToPath(path);
        const Clock::time_point saved = Clock::now();
        WriteDurably();
        writeSeconds += Seconds(Clock::now() - saved);
        state.SetIterationTime(Seconds(saved - start));
    }
    state.counters[kDurableWrite] = benchmark::Counter(writeSeconds, benchmark::Counter::kAvgIterations);
}

BENCHMARK(LoadLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BareDomParse)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveLevel)->Unit(benchmark::kMillisecond)->UseManualTime();

// Keeps each benchmark's time per iteration so that the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            times[run.run_name.function_name] = run.GetAdjustedRealTime();
            auto durableWrite = run.counters.find(kDurableWrite);
            if (durableWrite != run.counters.end()) {
                times[kDurableWrite] = durableWrite->second.value * benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
    }

    void PrintRatio(const char* what, const std::string& measured, const std::string& floor, double goal) {
        if (!times.count(measured) || !times.count(floor)) {
            return;
        }
        const double ratio = times[measured] / times[floor];
        std::printf("%s: %s / %s = %.2f (goal at most %.1f) %s\n", what, measured.c_str(), floor.c_str(), ratio, goal,
                    ratio <= goal ? "met" : "MISSED");
    }

private:
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    // The baseline parser needs the XML library for the whole run; the reader's own session
    // then only adds to the library's count.
    XmlPlatformSession session;
    PrepareFiles();
    std::printf("level file: %zu bytes, %d screens of %d sprites\n", BenchFiles().text.size(),
                kWorlds * kScreensPerWorld, kSpritesPerScreen);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("load", "LoadLevel", "BareDomParse", kLoadGoal);
    reporter.PrintRatio("save", "SaveLevel", kDurableWrite, kSaveGoal);
    benchmark::Shutdown();
    fs::remove_all(BenchFiles().directory);
    return 0;
}
