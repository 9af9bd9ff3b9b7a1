// The pack built beside the game holds exactly the files of data/, byte for byte, as the game's
// file system reads them.
#include <gtest/gtest.h>

#include <memory>

#include "WideText.h"
#include "content/ContentFiles.h"
#include "filesystem/k_FileSystem.h"
#include "support/FakeEngine.h"

TEST(ContentPack, PackHoldsTheSameFilesAsTheDataFolder) {
    ASSERT_TRUE(std::filesystem::exists(ROLLANDIA_BINARY_DIR "/data.pak")) << "the build packs data/ into data.pak";
    FakeEngine engine;
    k_FileSystem pack(&engine, L"" ROLLANDIA_BINARY_DIR);
    pack.UsePackFile(L"data.pak");
    std::set<std::string> packed;
    for (const std::wstring& name : pack.ListFiles(L"/")) {
        packed.insert(ToUtf8(name));
    }
    std::set<std::string> folder = content::FilesUnder(content::SourcePath("data"));
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(packed, folder);
    for (const auto& name : folder) {
        std::unique_ptr<IFile> file = pack.Open(FromUtf8(name));
        ASSERT_TRUE(file) << name << " is missing from the pack";
        std::vector<std::uint8_t> bytes(file->GetData(), file->GetData() + file->GetSize());
        EXPECT_TRUE(bytes == content::ReadBytes(content::DataPath(name))) << name << " differs in the pack";
    }
}
