#include <gtest/gtest.h>

#include "base/UserFolders.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDirectory.h"

TEST(UserFolders, FollowAbsoluteXdgVariablesElseTheDefaultsUnderHomeAndAreMadeForTheUserOnly) {
    TempDirectory home;
    ScopedEnvironment homeVariable("HOME", home.Path().c_str());
    {
        ScopedEnvironment config("XDG_CONFIG_HOME", nullptr);
        ScopedEnvironment data("XDG_DATA_HOME", "");
        ScopedEnvironment state("XDG_STATE_HOME", "relative/state");  // not absolute: ignored
        EXPECT_EQ(UserConfigFolder(), home.Path(".config/rollandia"));
        EXPECT_EQ(UserDataFolder(), home.Path(".local/share/rollandia"));
        EXPECT_EQ(UserStateFolder(), home.Path(".local/state/rollandia"));
    }
    ScopedEnvironment config("XDG_CONFIG_HOME", home.Path("c").c_str());
    ScopedEnvironment data("XDG_DATA_HOME", home.Path("d").c_str());
    ScopedEnvironment state("XDG_STATE_HOME", home.Path("s/t").c_str());
    EXPECT_EQ(UserConfigFolder(), home.Path("c/rollandia"));
    EXPECT_EQ(UserDataFolder(), home.Path("d/rollandia"));
    EXPECT_EQ(UserStateFolder(), home.Path("s/t/rollandia"));
    ASSERT_TRUE(MakeUserFolder(UserStateFolder()));
    EXPECT_EQ(std::filesystem::status(home.Path("s")).permissions(), std::filesystem::perms::owner_all);
    home.Write("file", "");
    EXPECT_FALSE(MakeUserFolder(home.Path("file/rollandia")));
}
