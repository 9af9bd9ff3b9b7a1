// The pack built beside the game holds exactly the files of data/, byte for byte.
#include <gtest/gtest.h>
#include <minizip/unzip.h>

#include <map>

#include "content/ContentFiles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::map<std::string, Bytes> PackFiles(const std::filesystem::path& pack) {
    std::map<std::string, Bytes> files;
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
        Bytes bytes(info.uncompressed_size);
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
    std::filesystem::path pack = std::filesystem::path(ROLLANDIA_BINARY_DIR) / "data.pak";
    ASSERT_TRUE(std::filesystem::exists(pack)) << "the build packs data/ into " << pack;
    auto folder = content::FilesUnder(content::SourcePath("data"));
    auto packed = PackFiles(pack);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(packed.size(), folder.size());
    for (const auto& name : folder) {
        auto found = packed.find(name);
        ASSERT_NE(found, packed.end()) << name << " is missing from the pack";
        EXPECT_TRUE(found->second == content::ReadBytes(content::DataPath(name))) << name << " differs in the pack";
    }
}
