// Open of every file of a 2,000-file data set, in pack mode against raw minizip extracting
// the same entries in archive order, and in directory mode against plain fread of the same
// files. Each iteration times our side and the baseline back to back (alternating which goes
// first); the "ratio" counter is our total time over the baseline's.
#include <benchmark/benchmark.h>
#include <minizip/unzip.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "../tests/support/ZipWriter.h"
#include "WideText.h"
#include "filesystem/k_FileSystem.h"

namespace {

constexpr int kFileCount = 2000;
constexpr double kSmallestSize = 1024;
constexpr double kLargestSize = 1024 * 1024;
constexpr std::uint64_t kSeed = 20240601;
constexpr double kRatioLimit = 1.2;

// A small deterministic generator, so that every run measures the same data.
struct SplitMix64 {
    std::uint64_t state;
    std::uint64_t Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Unit() { return static_cast<double>(Next() >> 11) / static_cast<double>(1ull << 53); }
};

// Text-like content that compresses about as well as the game's own data.
std::string MakeContent(SplitMix64& random, std::size_t size) {
    static const char* const kWords[] = {"ball ", "world ", "screen ", "sprite ", "bounce ", "door ", "piece ",
                                         "<sprite texture=\"", "\" left=\"", "\" top=\"", "\"/>\n", "water ",
                                         "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    std::string content;
    content.reserve(size + 32);
    while (content.size() < size) {
        content += kWords[random.Next() % (sizeof kWords / sizeof kWords[0])];
    }
    content.resize(size);
    return content;
}

// The data set on disk, twice: as files under "data" and as entries of "data.pak".
class DataSet {
public:
    DataSet() {
        root = std::filesystem::temp_directory_path() / ("bench-filesystem-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root / "data");
        SplitMix64 random{kSeed};
        zipwriter::ZipWriter zip((root / "data.pak").string());
        for (int index = 0; index < kFileCount; ++index) {
            // Log-uniform sizes: as many small files as large ones.
            auto size = static_cast<std::size_t>(kSmallestSize * std::pow(kLargestSize / kSmallestSize, random.Unit()));
            char name[32];
            std::snprintf(name, sizeof name, "dir%02d/file%04d.bin", index % 16, index);
            std::string content = MakeContent(random, size);
            zip.AddFile(name, content);
            std::filesystem::create_directories((root / "data" / name).parent_path());
            zipwriter::WriteWholeFile((root / "data" / name).string(), content);
            names.push_back(name);
            totalBytes += size;
        }
        zip.Close();
        randomOrder.resize(names.size());
        std::iota(randomOrder.begin(), randomOrder.end(), 0);
        for (std::size_t i = randomOrder.size() - 1; i > 0; --i) {
            std::swap(randomOrder[i], randomOrder[random.Next() % (i + 1)]);
        }
    }
    ~DataSet() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    std::filesystem::path root;
    std::vector<std::string> names;  // in archive order
    std::vector<std::size_t> randomOrder;
    std::uint64_t totalBytes = 0;
};

DataSet& Data() {
    static DataSet data;
    return data;
}

std::map<std::string, double> ratios;

using Clock = std::chrono::steady_clock;

template <typename Work>
double Seconds(Work work) {
    Clock::time_point start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Times ours against the baseline over the benchmark's iterations and reports the ratio.
template <typename Ours, typename Baseline>
void Compare(benchmark::State& state, const std::string& label, Ours ours, Baseline baseline) {
    double oursTotal = 0;
    double baselineTotal = 0;
    bool oursFirst = false;
    for (auto _ : state) {
        oursFirst = !oursFirst;
        double oursTime = 0;
        if (oursFirst) {
            oursTime = Seconds(ours);
            baselineTotal += Seconds(baseline);
        } else {
            baselineTotal += Seconds(baseline);
            oursTime = Seconds(ours);
        }
        oursTotal += oursTime;
        state.SetIterationTime(oursTime);
    }
    double iterations = static_cast<double>(state.iterations());
    state.counters["ours_ms"] = 1000 * oursTotal / iterations;
    state.counters["baseline_ms"] = 1000 * baselineTotal / iterations;
    state.counters["ratio"] = oursTotal / baselineTotal;
    state.SetBytesProcessed(static_cast<std::int64_t>(Data().totalBytes) * state.iterations());
    ratios[label] = oursTotal / baselineTotal;
}

std::unique_ptr<k_FileSystem> MakeFileSystem(bool pack) {
    auto fileSystem = std::make_unique<k_FileSystem>(nullptr, FromUtf8(Data().root.string()));
    pack ? fileSystem->UsePackFile(L"data.pak") : fileSystem->UseDirectory(L"data");
    return fileSystem;
}

void OpenAll(k_FileSystem& fileSystem, const std::vector<std::size_t>& order) {
    for (std::size_t index : order) {
        std::unique_ptr<IFile> file = fileSystem.Open(FromUtf8(Data().names[index]));
        if (!file) {
            std::abort();
        }
        benchmark::DoNotOptimize(file->GetData());
    }
}

// What a program using minizip directly does to load every entry: walk the archive in order.
void ExtractWithMinizip(unzFile archive) {
    for (int step = unzGoToFirstFile(archive); step == UNZ_OK; step = unzGoToNextFile(archive)) {
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzOpenCurrentFile(archive) != UNZ_OK) {
            std::abort();
        }
        std::unique_ptr<std::uint8_t[]> content(new std::uint8_t[info.uncompressed_size + 1]);
        int read = unzReadCurrentFile(archive, content.get(), static_cast<unsigned>(info.uncompressed_size));
        if (read != static_cast<int>(info.uncompressed_size) || unzCloseCurrentFile(archive) != UNZ_OK) {
            std::abort();
        }
        benchmark::DoNotOptimize(content.get());
    }
}

void ReadWithFread(const std::vector<std::size_t>& order) {
    for (std::size_t index : order) {
        std::FILE* file = std::fopen((Data().root / "data" / Data().names[index]).c_str(), "rb");
        if (file == nullptr) {
            std::abort();
        }
        std::fseek(file, 0, SEEK_END);
        long size = std::ftell(file);
        std::fseek(file, 0, SEEK_SET);
        std::unique_ptr<std::uint8_t[]> content(new std::uint8_t[static_cast<std::size_t>(size) + 1]);
        if (std::fread(content.get(), 1, static_cast<std::size_t>(size), file) != static_cast<std::size_t>(size)) {
            std::abort();
        }
        std::fclose(file);
        benchmark::DoNotOptimize(content.get());
    }
}

void PackOpenAgainstMinizip(benchmark::State& state) {
    std::unique_ptr<k_FileSystem> fileSystem = MakeFileSystem(true);
    unzFile archive = unzOpen64((Data().root / "data.pak").c_str());
    Compare(state, "pack mode Open (random order) / raw minizip (archive order)",
            [&] { OpenAll(*fileSystem, Data().randomOrder); }, [&] { ExtractWithMinizip(archive); });
    unzClose(archive);
}

void DirectoryOpenAgainstFread(benchmark::State& state) {
    std::unique_ptr<k_FileSystem> fileSystem = MakeFileSystem(false);
    Compare(state, "directory mode Open / fopen+fread", [&] { OpenAll(*fileSystem, Data().randomOrder); },
            [&] { ReadWithFread(Data().randomOrder); });
}

}  // namespace

BENCHMARK(PackOpenAgainstMinizip)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DirectoryOpenAgainstFread)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Data();
    benchmark::RunSpecifiedBenchmarks();
    std::cout << "\nData set: " << kFileCount << " files, " << Data().totalBytes / (1024 * 1024) << " MiB\n";
    for (const auto& [label, ratio] : ratios) {
        std::printf("ratio %-60s %.3f (limit %.1f) %s\n", label.c_str(), ratio, kRatioLimit,
                    ratio <= kRatioLimit ? "ok" : "OVER");
    }
    benchmark::Shutdown();
    return 0;
}
