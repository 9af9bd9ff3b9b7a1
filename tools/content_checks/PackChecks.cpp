// The pack the build makes holds the game's data: every file opens by the name the game uses,
// from the data directory and from the pack alike.
#include <gtest/gtest.h>

#include "WideText.h"
#include "filesystem/k_FileSystem.h"
#include "support/FakeEngine.h"

TEST(ContentPack, EveryFileTheGameNamesOpensAlikeFromDirectoryAndPack) {
    // Every name the game itself asks for, with the separators it writes them with.
    std::vector<std::wstring> names = {L"universe.xml", L"Splash.png", L"die.png", L"die2.png", L"ball.png",
                                       L"ball.vs", L"ball.fs", L"water.vs", L"water.fs", L"sounds/glimmerdrift.xm",
                                       L"sounds/laugh.ogg", L"sounds\\explosion.wav", L"sounds\\die.wav"};
    for (int index = 1; index <= 7; ++index) {
        names.push_back(L"sounds\\s" + std::to_wstring(index) + L".wav");
    }
    FakeEngine engine;
    k_FileSystem directory(&engine, L"" ROLLANDIA_BINARY_DIR);
    k_FileSystem pack(&engine, L"" ROLLANDIA_BINARY_DIR);
    directory.UseDirectory(L"data");
    pack.UsePackFile(L"data.pak");
    EXPECT_EQ(directory.ListFiles(L""), pack.ListFiles(L""));
    for (const std::wstring& name : names) {
        std::unique_ptr<IFile> fromDirectory = directory.Open(name);
        std::unique_ptr<IFile> fromPack = pack.Open(name);
        ASSERT_TRUE(fromDirectory && fromPack) << ToUtf8(name);
        EXPECT_GT(fromDirectory->GetSize(), 0u);
        EXPECT_TRUE(std::equal(fromDirectory->GetData(), fromDirectory->GetData() + fromDirectory->GetSize(),
                               fromPack->GetData(), fromPack->GetData() + fromPack->GetSize()));
    }
}
