#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "support/ScopedEnvironment.h"
#include "support/TempDirectory.h"
#include "tools/editor/LevelLocation.h"

// An installed game: bin/ holds the programs, share/rollandia/ the data.
TEST(LevelLocation, TheInstalledLevelAndUnwritableOnesAreNotWrittenButCopiedToTheUsersDataFolder) {
    TempDirectory install;
    const std::filesystem::path bin = install.Path("bin");
    install.Write("bin/rollandia", "");
    install.Write("share/rollandia/universe.xml", "<universe/>");
    install.Write("levels/mine.xml", "<universe/>");
    const std::filesystem::path installed = DefaultLevelPath(bin);
    EXPECT_EQ(installed, install.Path("share/rollandia/universe.xml"));
    EXPECT_EQ(WhyLevelIsReadOnly(installed, bin), L"it is part of the installed game's data");
    EXPECT_EQ(WhyLevelIsReadOnly(install.Path("bin/../share/rollandia/new.xml"), bin),
              L"it is part of the installed game's data");
    EXPECT_EQ(WhyLevelIsReadOnly(install.Path("levels/mine.xml"), bin), L"");
    EXPECT_EQ(WhyLevelIsReadOnly(install.Path("levels/new.xml"), bin), L"");
    if (::geteuid() != 0) {  // permission bits do not stop the superuser
        ASSERT_EQ(::chmod(install.Path("levels").c_str(), 0555), 0);
        EXPECT_EQ(WhyLevelIsReadOnly(install.Path("levels/new.xml"), bin), L"you may not write its folder");
        ::chmod(install.Path("levels").c_str(), 0755);
    }
    ScopedEnvironment data("XDG_DATA_HOME", install.Path("home-data").c_str());
    EXPECT_EQ(UserCopyPath(installed), install.Path("home-data/rollandia/universe.xml"));

    install.Write("bin/data/universe.xml", "<universe/>");  // a build: the data beside the programs
    EXPECT_EQ(DefaultLevelPath(bin), bin / "data/universe.xml");
}
