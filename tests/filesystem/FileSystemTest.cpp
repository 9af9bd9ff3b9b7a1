#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "WideText.h"
#include "filesystem/CannotRead.h"
#include "filesystem/k_FileSystem.h"
#include "support/TempDirectory.h"
#include "support/ZipWriter.h"

using zipwriter::Host;
using zipwriter::ZipWriter;

namespace {

using Names = std::vector<std::wstring>;

const std::string kDirectoryMessage = "Initializing file system with data directory: data\n";
const std::string kPackMessage = "Initializing file system with data file: data.pak\n";

// The program directory is a temporary one; data lives in "data" or "data.pak" inside it.
class FileSystem : public ::testing::Test {
protected:
    std::string Content(const std::wstring& name) {
        std::unique_ptr<IFile> file = fileSystem.Open(name);
        return file ? std::string(reinterpret_cast<const char*>(file->GetData()), file->GetSize()) : "<null>";
    }

    // What choosing the data source writes.
    std::string Use(bool pack, const std::wstring& name) {
        testing::internal::CaptureStdout();
        pack ? fileSystem.UsePackFile(name) : fileSystem.UseDirectory(name);
        return testing::internal::GetCapturedStdout();
    }

    // Why the name does not open, as the part of the message behind "Cannot read from file: ".
    std::wstring Why(const std::wstring& name) {
        std::wstring message = CannotReadMessage(&fileSystem, name);
        std::wstring start = L"Cannot read from file: " + name + L" (";
        return message.rfind(start, 0) == 0 ? message.substr(start.size()) : L"<" + message + L">";
    }

    std::string Reload() {
        testing::internal::CaptureStdout();
        fileSystem.Reload();
        return testing::internal::GetCapturedStdout();
    }

    TempDirectory program;
    k_FileSystem fileSystem{nullptr, program.WidePath()};
};

}  // namespace

// ---------------------------------------------------------------- directory mode

TEST_F(FileSystem, DirectoryListingIsDepthFirstSortedByNameAndWithinTheBuffer) {
    for (const char* name : {"data/universe.xml", "data/sounds/laugh.ogg", "data/sounds/deep/x.wav", "data/a.txt",
                             "data/Zeta.txt", "data/.hidden"}) {
        program.Write(name, name);
    }
    const std::string beyondTheBuffer = std::string(200, 'd') + "/" + std::string(100, 'f');
    program.Write("data/" + beyondTheBuffer, "far");
    std::filesystem::create_directories(program.Path("data/empty/emptier"));
    EXPECT_EQ(Use(false, L"data"), kDirectoryMessage);
    EXPECT_EQ(fileSystem.ListFiles(L""), (Names{L"/.hidden", L"/Zeta.txt", L"/a.txt", L"/sounds/deep/x.wav",
                                                L"/sounds/laugh.ogg", L"/universe.xml"}));
    EXPECT_EQ(fileSystem.ListFiles(L"/sounds/"), (Names{L"deep/x.wav", L"laugh.ogg"}));
    EXPECT_EQ(fileSystem.ListFiles(L"/SOUNDS/"), Names{});
    EXPECT_EQ(fileSystem.Open(FromUtf8(beyondTheBuffer)), nullptr);
    EXPECT_EQ(fileSystem.Open(std::wstring(300, L'x')), nullptr);
}

TEST_F(FileSystem, DirectoryOpensNamesAuthoredForACaseBlindPlatformAndNothingOutsideIt) {
    program.Write("secret.txt", "secret");
    program.Write("data/universe.xml", "<universe/>");
    program.Write("data/sounds/die.wav", "die");
    program.Write("data/empty.txt", "");
    Use(false, L"data");
    EXPECT_EQ(Content(L"Universe.XML"), "<universe/>");
    EXPECT_EQ(Content(L"sounds\\die.wav"), "die");
    EXPECT_EQ(Content(L"SOUNDS\\Die.WAV"), "die");
    EXPECT_EQ(Content(L"./sounds//die.wav"), "die");
    EXPECT_EQ(Content(L"empty.txt"), "");
    // A named pipe would block a plain open until some writer came.
    ASSERT_EQ(::mkfifo(program.Path("data/pipe").c_str(), 0644), 0);
    for (const std::wstring& name :
         {std::wstring(L""), std::wstring(L"sounds"), std::wstring(L"sounds/"), std::wstring(L"missing.txt"),
          std::wstring(L"sounds/die.wav/x"), std::wstring(L"pipe"), std::wstring(L"../secret.txt"),
          std::wstring(L"..\\secret.txt"), std::wstring(L"sounds/../../secret.txt"),
          std::wstring(L"sounds\\..\\..\\secret.txt"), program.WidePath("secret.txt"), std::wstring(L"/sounds/die.wav"),
          std::wstring(L"\\sounds\\die.wav"), std::wstring(L"sounds/die.wav\0.txt", 19)}) {
        EXPECT_EQ(fileSystem.Open(name), nullptr) << ToUtf8(name);
    }
}

TEST_F(FileSystem, DirectoryLinksAreFollowedButNeverInACycle) {
    program.Write("data/universe.xml", "u");
    program.Write("shared/music.xm", "m");
    ASSERT_EQ(::symlink(program.Path("data").c_str(), program.Path("data/loop").c_str()), 0);
    ASSERT_EQ(::symlink(program.Path("shared").c_str(), program.Path("data/music").c_str()), 0);
    Use(false, L"data");
    EXPECT_EQ(fileSystem.ListFiles(L""), (Names{L"/music/music.xm", L"/universe.xml"}));
    EXPECT_EQ(Content(L"music/music.xm"), "m");
}

TEST_F(FileSystem, DeepProgramFolderOpensEverythingAndOnlyDataNamesAreLimited) {
    const std::string deep = std::string(120, 'a') + "/" + std::string(120, 'b') + "/data";
    const std::string longest = std::string(120, 'd') + "/" + std::string(134, 'n') + ".png";  // 259 characters
    const std::string tooLong = std::string(120, 'd') + "/" + std::string(135, 'n') + ".png";
    for (const std::string& name : {std::string("universe.xml"), longest, tooLong}) {
        program.Write(deep + "/" + name, name);
    }
    Use(false, FromUtf8(deep));
    EXPECT_EQ(fileSystem.ListFiles(L""), (Names{L"/" + FromUtf8(longest), L"/universe.xml"}));
    EXPECT_EQ(Content(L"universe.xml") + Content(FromUtf8(longest)), "universe.xml" + longest);
    EXPECT_EQ(Why(FromUtf8(tooLong)), L"a name of 260 characters; a data name has at most 259)");
}

TEST_F(FileSystem, MissingFolderFindsNothingUntilReloadedAndReadFailuresSayWhyAndWhereTheGameLooked) {
    const std::wstring folder = program.WidePath("data");
    Use(false, L"data");
    EXPECT_TRUE(fileSystem.ListFiles(L"").empty());
    EXPECT_EQ(Why(L"Splash.png"), L"the data folder " + folder + L" does not exist)");
    program.Write("data/sounds/die.wav", "die");
    EXPECT_TRUE(fileSystem.ListFiles(L"").empty());
    EXPECT_EQ(Reload(), kDirectoryMessage);
    EXPECT_EQ(fileSystem.ListFiles(L""), Names{L"/sounds/die.wav"});
    ASSERT_EQ(::symlink("loop.png", program.Path("data/loop.png").c_str()), 0);
    for (const auto& [name, why] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"Splash.png", L"no such file in the data folder "},
             {L"SOUNDS", L"a folder rather than a file in the data folder "},
             {L"loop.png", L"a link loop in the data folder "},
             {L"../secret.txt", L"not a name inside the data folder "}}) {
        EXPECT_EQ(Why(name), why + folder + L")");
    }
}

TEST_F(FileSystem, DataSourceIsTheFolderWhenPresentElseThePackAndThePackWhenForced) {
    struct Case {
        bool folder, pack, forced;
        std::string chosen;
    };
    for (const Case& c : std::vector<Case>{{false, false, false, kDirectoryMessage},
                                           {false, true, false, kPackMessage},
                                           {true, true, false, kDirectoryMessage},
                                           {true, false, true, kPackMessage + "FAILED!\n"},
                                           {true, true, true, kPackMessage}}) {
        std::filesystem::remove_all(program.Path("data"));
        std::filesystem::remove(program.Path("data.pak"));
        if (c.folder) {
            program.Write("data/universe.xml", "folder");
        }
        if (c.pack) {
            ZipWriter(program.Path("data.pak")).AddFile("universe.xml", "pack");
        }
        testing::internal::CaptureStdout();
        fileSystem.UseDataSource(L"data", L"data.pak", c.forced);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.chosen);
    }
    EXPECT_EQ(Content(L"universe.xml"), "pack");
}

TEST(FileSystemDataSearch, BesideTheProgramThenTheInstallOrOnlyThePlaceChosenAndFailuresNameEveryPlace) {
    TempDirectory install;
    std::filesystem::create_directories(install.Path("bin"));
    k_FileSystem files(nullptr, install.WidePath("bin"));
    auto search = [&files](const std::string& chosen) {
        testing::internal::CaptureStdout();
        files.UseFirstDataSource(k_FileSystem::GameDataPlaces(chosen), false);
        testing::internal::GetCapturedStdout();
        std::unique_ptr<IFile> file = files.Open(L"universe.xml");
        return file ? std::string(reinterpret_cast<const char*>(file->GetData()), file->GetSize())
                    : ToUtf8(WhyCannotRead(&files, L"universe.xml"));
    };
    EXPECT_EQ(search(""), "no game data in any of " + install.Path("bin/data") + ", " + install.Path("bin/data.pak") +
                              ", " + install.Path("share/rollandia"));
    install.Write("share/rollandia/universe.xml", "installed");
    EXPECT_EQ(search(""), "installed");
    ZipWriter(install.Path("bin/data.pak")).AddFile("universe.xml", "pack");
    EXPECT_EQ(search(""), "pack");
    install.Write("bin/data/universe.xml", "beside");
    EXPECT_EQ(search(""), "beside");
    install.Write("mine/universe.xml", "mine");
    EXPECT_EQ(search(install.Path("mine")), "mine");
    EXPECT_EQ(search(install.Path("bin/data.pak")), "pack");
    EXPECT_EQ(search(install.Path("missing.pak")), "no game data at " + install.Path("missing.pak"));
}

TEST(FileSystemProgramDirectory, DefaultsToTheExecutablesDirectory) {
    std::string name = "fs-test-data-" + std::to_string(::getpid());
    std::filesystem::path data = std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
    std::filesystem::create_directories(data);
    std::ofstream(data / "probe.txt") << "probe";
    k_FileSystem fileSystem(nullptr);
    testing::internal::CaptureStdout();
    fileSystem.UseDirectory(FromUtf8(name));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(fileSystem.ListFiles(L""), Names{L"/probe.txt"});
    std::filesystem::remove_all(data);
}

// ---------------------------------------------------------------- pack mode

TEST_F(FileSystem, PackListsItsFilesInArchiveOrderWithoutDirectoriesAndOpensOnlyWholeEntries) {
    {
        ZipWriter zip(program.Path("data.pak"));
        zip.AddDirectory("sounds/", Host::Unix);
        zip.AddFile("sounds/laugh.ogg", "laugh");
        zip.AddDirectory("textures/", Host::MsDos);
        zip.AddFile("universe.xml", "<universe/>", false);
        zip.AddFile(std::string(300, 'n'), "too long");
        zip.AddFile("flipped.txt", std::string(5000, 'z'), false);
    }
    std::string archive = program.Read("data.pak");
    archive[zipwriter::EntryDataOffset(archive, "flipped.txt") + 100] ^= 0x20;
    program.Write("data.pak", archive);
    EXPECT_EQ(Use(true, L"data.pak"), kPackMessage);
    Names expected{L"/sounds/laugh.ogg", L"/universe.xml", L"/flipped.txt"};
    EXPECT_EQ(fileSystem.ListFiles(L""), expected);
    EXPECT_EQ(fileSystem.ListFiles(L"/sounds/"), Names{L"laugh.ogg"});
    EXPECT_EQ(Content(L"UNIVERSE.XML"), "<universe/>");
    EXPECT_EQ(Content(L"sounds\\laugh.ogg"), "laugh");
    EXPECT_EQ(fileSystem.Open(L""), nullptr);
    EXPECT_EQ(fileSystem.Open(L"flipped.txt"), nullptr);
    const std::wstring pack = program.WidePath("data.pak");
    EXPECT_EQ(Why(L"flipped.txt"), L"damaged in the data pack " + pack + L": bad compressed data or checksum)");
    EXPECT_EQ(Why(L"sounds\\Missing.ogg"), L"no such file in the data pack " + pack + L")");
    EXPECT_EQ(Why(FromUtf8(std::string(256, 'n'))), L"a name of 256 bytes; a pack name has at most 255)");
    Reload();
    EXPECT_EQ(fileSystem.ListFiles(L""), expected);
}

TEST_F(FileSystem, MissingOrBrokenPackFailsAndFindsNothing) {
    const std::wstring pack = program.WidePath("data.pak");
    EXPECT_EQ(Use(true, L"data.pak"), kPackMessage + "FAILED!\n");
    EXPECT_TRUE(fileSystem.ListFiles(L"").empty());
    EXPECT_EQ(fileSystem.Open(L"universe.xml"), nullptr);
    EXPECT_EQ(Why(L"universe.xml"), L"no data pack at " + pack + L")");
    program.Write("data.pak", "PK\x03\x04 but nothing more");
    EXPECT_EQ(Use(true, L"data.pak"), kPackMessage + "FAILED!\n");
    EXPECT_EQ(Why(L"universe.xml"), L"the data pack " + pack + L" is damaged: not a readable zip archive)");
    {
        ZipWriter zip(program.Path("data.pak"));
        zip.AddFile("ball.png", "ball");
        zip.AddFile("universe.xml", "u");
    }
    std::string archive = program.Read("data.pak");
    archive[archive.rfind("PK\x01\x02") + 3] = 'X';  // the second directory record
    program.Write("data.pak", archive);
    Use(true, L"data.pak");
    EXPECT_EQ(Content(L"ball.png"), "ball");
    EXPECT_EQ(Why(L"universe.xml"), L"no such file in the data pack " + pack + L", whose directory is damaged)");
    EXPECT_NE(Use(true, FromUtf8(std::string(300, 'p'))).find("\nFAILED!\n"), std::string::npos);
}
