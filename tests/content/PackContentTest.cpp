// The pack built beside the game holds exactly the files of data/, byte for byte.
#include <gtest/gtest.h>
#include <minizip/unzip.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<char> ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::map<std::string, std::vector<char>> DataFolderFiles(const fs::path& root) {
    std::map<std::string, std::vector<char>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        std::string name = fs::relative(entry.path(), root).generic_string();
        if (entry.is_regular_file() && name.front() != '.') {
            files[name] = ReadWhole(entry.path());
        }
    }
    return files;
}

std::map<std::string, std::vector<char>> PackFiles(const fs::path& pack) {
    std::map<std::string, std::vector<char>> files;
    unzFile archive = unzOpen64(pack.string().c_str());
    if (!archive) {
        return files;
    }
    for (int status = unzGoToFirstFile(archive); status == UNZ_OK; status = unzGoToNextFile(archive)) {
        char name[512] = {};
        unz_file_info64 info{};
        unzGetCurrentFileInfo64(archive, &info, name, sizeof(name) - 1, nullptr, 0, nullptr, 0);
        std::string entryName(name);
        if (entryName.empty() || entryName.back() == '/') {
            continue;
        }
        std::vector<char> bytes(info.uncompressed_size);
        unzOpenCurrentFile(archive);
        int read = bytes.empty() ? 0 : unzReadCurrentFile(archive, bytes.data(), static_cast<unsigned>(bytes.size()));
        EXPECT_EQ(read, static_cast<int>(bytes.size())) << entryName;
        EXPECT_EQ(unzCloseCurrentFile(archive), UNZ_OK) << entryName;
        files[entryName] = std::move(bytes);
    }
    unzClose(archive);
    return files;
}

}  // namespace

TEST(PackContent, PackHoldsTheSameFilesAsTheDataFolder) {
    fs::path pack = fs::path(ROLLANDIA_BINARY_DIR) / "data.pak";
    ASSERT_TRUE(fs::exists(pack)) << "the build packs data/ into " << pack;
    auto folder = DataFolderFiles(fs::path(ROLLANDIA_SOURCE_DIR) / "data");
    auto packed = PackFiles(pack);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(packed.size(), folder.size());
    for (const auto& [name, bytes] : folder) {
        auto found = packed.find(name);
        ASSERT_NE(found, packed.end()) << name << " is missing from the pack";
        EXPECT_TRUE(found->second == bytes) << name << " differs in the pack";
    }
}
