#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <numeric>
#include <sstream>

#include "app/GameSettings.h"
#include "app/KeyNames.h"
#include "platform/VirtualKeys.h"
#include "support/TempDirectory.h"

namespace {

struct GameSettingsTest : ::testing::Test {
    void WriteText(const std::string& text) {
        std::filesystem::create_directories(folder.Path("config"));
        std::ofstream(file, std::ios::binary) << text;
    }
    GameSettings Read() {
        warnings.str("");
        return ReadGameSettings(file, warnings);
    }
    TempDirectory folder;
    std::string file = folder.Path("config/settings.ini");
    std::ostringstream warnings;
};

}  // namespace

TEST_F(GameSettingsTest, WrittenSettingsReadBackAndHandEditedNamesInAnyCaseAreRead) {
    const GameSettings changed{false, SceneScaling::Sharp, 0, 55, true, {'A', 'D', VK_SPACE, 'S', VK_F5, '7'},
                               {VK_GAMEPAD_X, VK_GAMEPAD_B, VK_GAMEPAD_A, VK_GAMEPAD_Y, VK_GAMEPAD_LEFT_SHOULDER,
                                VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON}};
    WriteGameSettings(file, changed);  // the folder does not exist yet
    EXPECT_EQ(Read(), changed);
    EXPECT_EQ(warnings.str(), "");

    WriteText("# mine\n\n  KEY.Left=a\r\nkey.enter = enter\nScaling = SHARP\nkey.menu = page_up\nmusic_volume = 100\n");
    const GameSettings read = Read();
    EXPECT_EQ(read.keys, (std::array<int, kKeyActionCount>{'A', VK_RIGHT, VK_UP, VK_DOWN, VK_RETURN, 'P'}));
    EXPECT_EQ(read.scaling, SceneScaling::Sharp);
    EXPECT_EQ(warnings.str(), file + ":6: \"page_up\" is not a value of key.menu (a key name such as Left, A or "
                                     "Space); keeping P\n");
}

// Each line is bad on its own; every one is reported with its number and leaves the default.
TEST_F(GameSettingsTest, EveryBadLineIsReportedWithItsNumberAndKeepsTheDefault) {
    const char* const badLines[] = {
        "fullscreen = yes", "fullscreen =", "scaling = blurry", "music_volume = 101", "music_volume = -1",
        "music_volume = 50%", "effects_volume = 0x10", "effects_volume = 1000", "hud = 2",
        "key.up = Up Arrow", "key.jump = Space", "volume = 3", "just words", "= 1",
        "key.left = PadA", "pad.left = Space", "pad.menu = PadBack",
    };
    std::string text;
    for (const char* line : badLines) text += std::string(line) + "\n";
    WriteText(text);
    EXPECT_EQ(Read(), GameSettings());
    std::vector<int> reported;
    std::istringstream lines(warnings.str());
    for (std::string line; std::getline(lines, line);) {
        ASSERT_EQ(line.rfind(file + ":", 0), 0u) << line;
        reported.push_back(std::stoi(line.substr(file.size() + 1)));
    }
    std::sort(reported.begin(), reported.end());
    std::vector<int> expected(std::size(badLines));
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(reported, expected) << warnings.str();
}

// A key that would steer two actions, or that the game keeps for itself, cannot be bound by
// hand either: that kind of binding goes back to the defaults, the other kind is kept.
TEST_F(GameSettingsTest, AKeyBoundTwiceOrReservedGivesTheDefaultsOfItsKind) {
    const struct {
        std::string text;
        std::string warning;
    } cases[] = {
        {"key.left = A\npad.up = PadB\nkey.up = a\n", ":3: A for key.up is bound to another action too"},
        {"key.left = Up\npad.up = PadB\n", ":1: Up for key.left is bound to another action too"},
        {"pad.up = PadB\nkey.menu = Escape\n", ":2: Escape for key.menu cannot be bound"},
    };
    for (const auto& clash : cases) {
        WriteText(clash.text);
        const GameSettings read = Read();
        EXPECT_EQ(read.keys, GameSettings::DefaultKeys()) << clash.text;
        EXPECT_EQ(read.pads[static_cast<std::size_t>(KeyAction::Up)], VK_GAMEPAD_B) << clash.text;
        EXPECT_EQ(warnings.str(), file + clash.warning + "; keeping the default key.* bindings\n");
    }
    WriteText("key.left = Up\nkey.up = Left\npad.enter = PadLeft\npad.left = PadA\n");  // swapped both ways
    const GameSettings swapped = Read();
    EXPECT_EQ(swapped.keys[static_cast<std::size_t>(KeyAction::Up)], VK_LEFT);
    EXPECT_EQ(swapped.pads[static_cast<std::size_t>(KeyAction::Left)], VK_GAMEPAD_A);
    EXPECT_EQ(warnings.str(), "");
}

TEST_F(GameSettingsTest, MissingEmptyDamagedOrUnreadableFilesGiveTheDefaults) {
    EXPECT_EQ(Read(), GameSettings());  // missing, and its folder too
    EXPECT_EQ(warnings.str(), "");
    std::filesystem::create_directories(file);  // a folder where the file should be
    EXPECT_EQ(Read(), GameSettings());
    EXPECT_EQ(warnings.str(), file + ": is not a regular file; the default settings are used\n");
    std::filesystem::remove(file);
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);  // opening a pipe would wait for a writer
    EXPECT_EQ(Read(), GameSettings());
    std::filesystem::remove(file);
    WriteText("");
    EXPECT_EQ(Read(), GameSettings());
    const char picture[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR hud = 1\n";
    WriteText(std::string(picture, sizeof picture - 1));
    EXPECT_EQ(Read(), GameSettings());
    EXPECT_EQ(warnings.str(), file + ": is not text; the default settings are used\n");
    WriteText(std::string(100000, 'x'));
    EXPECT_EQ(Read(), GameSettings());
    EXPECT_NE(warnings.str().find("too large"), std::string::npos);
}

TEST(KeyNames, EveryNamedKeyReadsBackToItsCode) {
    for (int code = 0; code < 256; ++code) {
        const std::string name = NameOfKeyCode(code);
        EXPECT_TRUE(name.empty() || KeyCodeOfName(name) == code) << name;
    }
    EXPECT_EQ(KeyCodeOfName("@"), std::nullopt);
}
