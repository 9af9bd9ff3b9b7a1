#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <vector>

#include "WideText.h"
#include "support/PngWriter.h"
#include "support/WorldFakes.h"
#include "support/TempDirectory.h"
#include "tools/level_checker/LevelChecker.h"
#include "world/k_Universe.h"

namespace {

const struct {
    const char* name;
    int width, height;
} kPictures[] = {
    {"tiles/wall_32x600.png", 32, 600}, {"tiles/floor_800x32.png", 800, 32}, {"tiles/door_16x64.png", 16, 64},
    {"tiles/crack_32x32.png", 32, 32},  {"tiles/ball_32x32.png", 32, 32},
};

std::string Sprite(const std::string& type, const std::string& texture, int left, int top, bool isStatic = true,
                   bool special = false) {
    return "<sprite type=\"" + type + "\" texture=\"" + texture + "\" top=\"" + std::to_string(top) + "\" left=\"" +
           std::to_string(left) + "\" depth=\"10\" static=\"" + (isStatic ? "1" : "0") + "\" special=\"" +
           (special ? "1" : "0") + "\"/>";
}

const std::string kLeftWall = Sprite("SolidCube", "tiles/wall_32x600.png", 0, 0);
const std::string kRightWall = Sprite("SolidCube", "tiles/wall_32x600.png", 768, 0);
const std::string kFloor = Sprite("SolidCube", "tiles/floor_800x32.png", 0, 568);
const std::string kCeiling = Sprite("Dangerous", "tiles/floor_800x32.png", 0, 0);
const std::string kRoof = Sprite("SolidCube", "tiles/floor_800x32.png", 0, 0);

std::string Screen(int x, int y, const std::string& sprites) {
    return "<screen x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\">" + sprites + "</screen>";
}

// A screen closed on every side, with more sprites.
std::string Closed(int x, int y, const std::string& more = "") {
    return Screen(x, y, kLeftWall + kRightWall + kFloor + kCeiling + more);
}

std::string Level(const std::string& screens) {
    return "<universe><world name=\"Meadows\" active=\"1\">" + screens + "</world></universe>";
}

// The findings as check_level prints them.
std::vector<std::wstring> CheckedLines(const std::wstring& path) {
    std::vector<std::wstring> lines;
    for (const LevelFinding& finding : CheckLevel(path)) {
        lines.push_back(FindingLine(finding));
    }
    return lines;
}

void WritePictures(const TempDirectory& data) {
    for (const auto& picture : kPictures) {
        const std::vector<std::uint8_t> png = WritePng(TrueColourPicture(
            picture.width, picture.height, false, [](int, int) { return std::array<png_byte, 3>{9, 9, 9}; }));
        data.Write(picture.name, std::string(png.begin(), png.end()));
    }
}

TEST(LevelChecker, ReportsEachMistakeNamingItsPlace) {
    TempDirectory data;
    WritePictures(data);
    const struct {
        const char* what;
        std::string level;
        std::vector<std::wstring> findings;  // a part of each finding, in order
    } cases[] = {
        {"closed screen, names as the game opens them, water", Level(Closed(0, 0,
             Sprite("SolidCube", "TILES\\Crack_32x32.PNG", 100, 100) +
             Sprite("Background", "Water", 200, 200, false, true))), {}},
        {"does not load", "<universe><world active=\"x\"/></universe>", {L"Cannot load the level"}},
        {"no active world", "<universe><world active=\"0\">" + Closed(0, 0) + "</world></universe>",
         {L"no world is marked active"}},
        {"missing and unreadable pictures", Level(Closed(0, 0, Sprite("Background", "tiles/nothere.png", 9, 9) +
             Sprite("Background", "level.xml", 9, 9) + Sprite("Background", "Water", 9, 9))),
         {L"screen (0, 0), sprite 5 \"tiles/nothere.png\": there is no such picture",
          L"sprite 6 \"level.xml\": the picture is not a PNG", L"sprite 7 \"Water\": there is no such picture"}},
        {"open side without a neighbour", Level(Screen(0, 0, kLeftWall + kFloor + kCeiling)),
         {L"world \"Meadows\" (1), screen (0, 0): the ball can leave through the right edge (from top 32 to 568) "
          L"but there is no screen (1, 0)"}},
        {"gaps narrower than the ball", Level(Screen(0, 0, kLeftWall + kFloor + kCeiling +
             Sprite("SolidSphere", "tiles/ball_32x32.png", 770, 40) +
             Sprite("SolidCube", "tiles/wall_32x600.png", 768, 100))), {}},
        {"a gap as wide as the ball", Level(Screen(0, 0, kLeftWall + kFloor + kCeiling +
             Sprite("SolidCube", "tiles/wall_32x600.png", 768, 64))), {L"right edge (from top 32 to 64)"}},
        {"a piece four pixels from the edge closes it", Level(Screen(0, 0, kLeftWall + kFloor + kCeiling +
             Sprite("SolidCube", "tiles/wall_32x600.png", 764, 63))), {}},
        {"five pixels leave it open", Level(Screen(0, 0, kLeftWall + kFloor + kCeiling +
             Sprite("SolidCube", "tiles/wall_32x600.png", 763, 0))), {L"right edge (from top 32 to 568)"}},
        {"screens at the ends of the range", Level(Screen(INT_MAX, INT_MAX, kLeftWall + kCeiling) +
             Closed(INT_MIN, INT_MIN)),
         {L"screen (2147483647, 2147483647): the ball can leave through the right edge (from top 32 to 600) but no "
          L"screen can lie beyond it", L"bottom edge (from left 32 to 800) but no screen can lie beyond it",
          L"screen (-2147483648, -2147483648): the ball cannot reach"}},
        {"loose, breakable and door pieces do not close", Level(Screen(0, 0, kLeftWall + kFloor + kCeiling +
             Sprite("SolidCube", "tiles/wall_32x600.png", 768, 0, false) +
             Sprite("Breakable", "tiles/wall_32x600.png", 768, 0) + Sprite("Door", "tiles/wall_32x600.png", 768, 0))),
         {L"right edge (from top 32 to 568)"}},
        {"door without breakable pieces", Level(Closed(0, 0, Sprite("Door", "tiles/door_16x64.png", 300, 500)) +
             Closed(1, 0, Sprite("Door", "tiles/door_16x64.png", 300, 500) +
                          Sprite("Breakable", "tiles/crack_32x32.png", 50, 50))),
         {L"sprite 5 \"tiles/door_16x64.png\": warning: a door", L"screen (1, 0): the ball cannot reach"}},
        {"two screens at one place", Level(Closed(0, 0) + Closed(0, 0)),
         {L"screen (0, 0): screen 1 of this world is already at (0, 0)"}},
        {"sprites wholly outside", Level(Closed(0, 0, Sprite("Background", "tiles/crack_32x32.png", -32, 10) +
             Sprite("Background", "tiles/crack_32x32.png", -31, 10) + Sprite("Background", "tiles/gone.png", 10, 600))),
         {L"sprite 5 \"tiles/crack_32x32.png\": lies wholly outside", L"sprite 7 \"tiles/gone.png\": there is no such",
          L"sprite 7 \"tiles/gone.png\": lies wholly outside"}},
        {"reachable only through open edges", Level(Screen(0, 0, kLeftWall + kFloor + kCeiling) +
             Screen(1, 0, kRightWall + kFloor + kRoof) + Closed(0, 1) + Closed(5, 5)),
         {L"screen (0, 1): the ball cannot reach this screen from the start screen (0, 0)",
          L"screen (5, 5): the ball cannot reach"}},
        {"play starts on the first screen listed, and starts again on column + row 0",
         Level(Screen(1, 0, kLeftWall + kFloor + kCeiling) + Screen(2, 0, kRightWall + kFloor + kRoof) +
               Screen(0, 0, kLeftWall + kRightWall + kCeiling) + Closed(0, 1)), {}},
    };
    for (const auto& test : cases) {
        data.Write("level.xml", test.level);
        const std::vector<std::wstring> findings = CheckedLines(data.WidePath("level.xml"));
        std::wstring all;
        for (const std::wstring& finding : findings) {
            all += finding + L"\n";
        }
        ASSERT_EQ(findings.size(), test.findings.size()) << test.what << "\n" << ToUtf8(all);
        for (std::size_t index = 0; index < findings.size(); ++index) {
            EXPECT_NE(findings[index].find(test.findings[index]), std::wstring::npos) << test.what << "\n" << ToUtf8(all);
            EXPECT_EQ(findings[index].rfind(data.WidePath("level.xml"), 0), 0u) << "every finding names the file";
        }
    }
}

// A danger the ball can touch within a second of coming in is named with the way in; one kept
// out of reach by a wall or above the highest bounce is not.
TEST(LevelChecker, WarnsOfDangersWithinTheFirstSecondOfAScreen) {
    TempDirectory data;
    WritePictures(data);
    const std::string start = Screen(0, 0, kLeftWall + kFloor + kRoof);
    const std::string spikes = Sprite("Dangerous", "tiles/crack_32x32.png", 600, 536);
    const struct {
        const char* what;
        std::string screen;
        std::vector<std::wstring> findings;
    } cases[] = {
        {"on the floor across the screen", Screen(1, 0, kRightWall + kFloor + kRoof + spikes),
         {L"screen (1, 0), sprite 4 \"tiles/crack_32x32.png\": warning: the ball can touch this dangerous piece "
          L"within a second of entering through the left edge (from top 32 to 568)"}},
        {"just inside, low in a way in under a wall", Screen(1, 0, kRightWall + kFloor + kRoof +
             Sprite("SolidCube", "tiles/wall_32x600.png", 0, -100) + Sprite("Dangerous", "tiles/crack_32x32.png", 40, 536)),
         {L"sprite 5 \"tiles/crack_32x32.png\": warning: the ball can touch this dangerous piece within a second of "
          L"entering through the left edge (from top 500 to 568)"}},
        {"behind a wall", Screen(1, 0, kRightWall + kFloor + kRoof + Sprite("SolidCube", "tiles/wall_32x600.png", 400, 0) +
             spikes), {}},
        {"by a way in from a screen reached only through it", Screen(1, 0, kFloor + kRoof +
             Sprite("SolidCube", "tiles/wall_32x600.png", 400, 0) + spikes) + Screen(2, 0, kRightWall + kFloor + kRoof), {}},
        {"above the highest bounce from a low way in", Screen(1, 0, kRightWall + kFloor + kRoof +
             Sprite("SolidCube", "tiles/wall_32x600.png", 0, -100) + Sprite("Dangerous", "tiles/crack_32x32.png", 600, 32)),
         {}},
    };
    for (const auto& test : cases) {
        data.Write("level.xml", Level(start + test.screen));
        const std::vector<std::wstring> findings = CheckedLines(data.WidePath("level.xml"));
        ASSERT_EQ(findings.size(), test.findings.size()) << test.what << (findings.empty() ? "" : ToUtf8(findings[0]));
        for (std::size_t index = 0; index < findings.size(); ++index) {
            EXPECT_NE(findings[index].find(test.findings[index]), std::wstring::npos) << ToUtf8(findings[index]);
        }
    }
}

// The checker reports from the screen the game starts on.
TEST(LevelChecker, StartsWhereTheGameStarts) {
    TempDirectory data;
    WritePictures(data);
    const std::string level = Level(Closed(1, 0) + Closed(0, 0));
    data.Write("level.xml", level);
    const std::vector<LevelFinding> findings = CheckLevel(data.WidePath("level.xml"));
    WorldFakeEngine engine;
    k_Universe universe(&engine);
    MemoryFile file(level.data(), level.size());
    universe.Load(&file);
    IScreen* start = universe.GetCurrentWorld()->GetCurrentScreen();
    ASSERT_EQ(findings.size(), 0u) << "the restart screen counts as reached";
    EXPECT_EQ(std::pair(start->GetX(), start->GetY()), std::pair(1, 0));
    const std::string unreachable = Level(Closed(1, 0) + Closed(2, 2));
    data.Write("level.xml", unreachable);
    EXPECT_NE(CheckedLines(data.WidePath("level.xml")).at(0).find(L"from the start screen (1, 0)"), std::wstring::npos);

    // The same level held in memory is checked alike, under the name it is given.
    const std::vector<LevelFinding> inMemory =
        CheckLevel(ReadLevel(reinterpret_cast<const std::uint8_t*>(unreachable.data()), unreachable.size(), L"level"),
                   data.Path(), L"level.xml");
    ASSERT_EQ(inMemory.size(), 1u);
    EXPECT_EQ(inMemory[0].file, L"level.xml");
    EXPECT_EQ(inMemory[0].text, CheckLevel(data.WidePath("level.xml")).at(0).text);
}

// Our own level is clean.
TEST(LevelChecker, OurLevelIsClean) {
    for (const std::wstring& finding : CheckedLines(FromUtf8(ROLLANDIA_SOURCE_DIR "/data/universe.xml"))) {
        ADD_FAILURE() << ToUtf8(finding);
    }
}

}  // namespace
