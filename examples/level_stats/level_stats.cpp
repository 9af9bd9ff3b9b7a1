// level_stats: what a level is made of. Prints its worlds and their screens, the pieces by
// type, the pictures used (with how many pieces use each) and the pictures the data lacks.
//   level_stats LEVEL.xml [DATA]   DATA is the folder or pack the pictures are looked up in;
//                                  without it, the folder holding the level.
// Exit status: 0 when every picture is there, 1 when some are missing or the level does not
// load, 2 when used wrongly.
#include <filesystem>
#include <iostream>
#include <map>
#include <string>

#include "Failure.h"
#include "WideText.h"
#include "filesystem/k_FileSystem.h"
#include "world/LevelReader.h"

namespace {

constexpr int kComplete = 0;
constexpr int kIncomplete = 1;
constexpr int kUsageError = 2;
const wchar_t* const kWaterName = L"Water";  // drawn by a shader, not a picture

struct Statistics {
    std::map<std::wstring, int> piecesByType;
    std::map<std::wstring, int> piecesByPicture;
};

Statistics Count(const LevelDescription& level) {
    Statistics statistics;
    for (const LevelWorld& world : level.worlds) {
        for (const LevelScreen& screen : world.screens) {
            for (const SpriteData& record : screen.records) {
                ++statistics.piecesByType[r_SpriteType::ToString(record.type)];
                if (!(record.special && record.texture == kWaterName)) {
                    ++statistics.piecesByPicture[record.texture];
                }
            }
        }
    }
    return statistics;
}

void PrintWorlds(const LevelDescription& level) {
    std::cout << "worlds: " << level.worlds.size() << '\n';
    for (std::size_t index = 0; index < level.worlds.size(); ++index) {
        const LevelWorld& world = level.worlds[index];
        std::cout << "  " << (world.name ? '"' + ToUtf8(*world.name) + '"' : std::string("(no name)")) << ": "
                  << world.screens.size() << " screens"
                  << (static_cast<int>(index) == level.activeWorld ? ", active" : "") << '\n';
    }
}

void PrintCounts(const char* title, const std::map<std::wstring, int>& counts) {
    std::cout << title << ": " << counts.size() << '\n';
    for (const auto& [name, count] : counts) {
        std::cout << "  " << ToUtf8(name) << ": " << count << '\n';
    }
}

// The pictures used that the data does not open, each with the reason; prints them.
std::size_t PrintMissing(const Statistics& statistics, const std::filesystem::path& data) {
    k_FileSystem files(nullptr, L"");
    std::streambuf* console = std::cout.rdbuf(nullptr);  // the file system announces its source
    files.UseFirstDataSource({data}, false);
    std::cout.rdbuf(console);
    std::map<std::wstring, std::wstring> missing;
    for (const auto& entry : statistics.piecesByPicture) {
        if (!files.Open(entry.first)) {
            missing[entry.first] = files.ExplainOpenFailure(entry.first);
        }
    }
    std::cout << "pictures missing: " << missing.size() << '\n';
    for (const auto& [name, reason] : missing) {
        std::cout << "  " << ToUtf8(name) << " (" << ToUtf8(reason) << ")\n";
    }
    return missing.size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: level_stats LEVEL.xml [DATA-FOLDER-OR-PACK]\n";
        return kUsageError;
    }
    const std::filesystem::path levelPath = std::filesystem::absolute(argv[1]);
    const std::filesystem::path data = argc == 3 ? std::filesystem::absolute(argv[2]) : levelPath.parent_path();
    try {
        const LevelDescription level = ReadLevelFile(FromUtf8(levelPath.string()));
        const Statistics statistics = Count(level);
        PrintWorlds(level);
        PrintCounts("pieces by type", statistics.piecesByType);
        PrintCounts("pictures used", statistics.piecesByPicture);
        return PrintMissing(statistics, data) == 0 ? kComplete : kIncomplete;
    } catch (const k_Failure& failure) {
        std::cerr << ToUtf8(failure.Message()) << '\n';
        return kIncomplete;
    }
}
