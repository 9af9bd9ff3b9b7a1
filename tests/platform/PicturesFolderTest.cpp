#include <gtest/gtest.h>

#include "platform/PicturesFolder.h"

TEST(PicturesFolder, TheDesktopsPicturesFolderIsReadFromUserDirs) {
    const std::filesystem::path home = "/home/ada";
    struct Case {
        const char* text;
        std::optional<std::filesystem::path> expected;
    };
    const Case cases[] = {
        {"# written by the desktop\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n",
         std::filesystem::path("/home/ada/Bilder")},
        {"XDG_PICTURES_DIR=\"/srv/shots\"", std::filesystem::path("/srv/shots")},
        {"  XDG_PICTURES_DIR=$HOME/Images  \r\n", std::filesystem::path("/home/ada/Images")},
        {"XDG_PICTURES_DIR=\"$HOMEWORK/x\"", std::nullopt},
        {"XDG_PICTURES_DIR=\"relative/path\"", std::nullopt},
        {"#XDG_PICTURES_DIR=\"$HOME/Old\"\nXDG_MUSIC_DIR=\"$HOME/Music\"", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(PicturesFolderFromUserDirs(each.text, home), each.expected) << each.text;
    }
}

TEST(PicturesFolder, NamesCarryTheDateAndTimeAndACounterAfterTheFirst) {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 7;
    time.tm_hour = 14;
    time.tm_min = 3;
    time.tm_sec = 22;
    EXPECT_EQ(ScreenshotFileName(time, 1), "Rollandia 2026-12-07 14-03-22.png");
    EXPECT_EQ(ScreenshotFileName(time, 2), "Rollandia 2026-12-07 14-03-22 (2).png");
}
