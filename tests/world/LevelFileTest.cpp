#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>

#include "support/Failures.h"
#include "support/SpriteRecords.h"
#include "support/TempDirectory.h"
#include "support/WorldFakes.h"
#include "world/LevelInteger.h"
#include "world/k_Universe.h"

namespace {

namespace fs = std::filesystem;

const std::string kOneSpriteLevel =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<universe>\n\t<world name=\"DummyWorld\" active=\"1\">\n"
    "\t\t<screen x=\"0\" y=\"0\">\n\t\t\t<sprite type=\"SolidCube\" texture=\"ball.png\" top=\"10\" left=\"-3\" "
    "depth=\"2\" static=\"1\" special=\"0\" />\n\t\t</screen>\n\t</world>\n</universe>\n";
const std::string kScreenStart = "<world active=\"1\"><screen x=\"0\" y=\"0\">";
const std::string kScreenEnd = "</screen></world>";

std::string Level(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<universe>\n" + body + "</universe>\n";
}

std::string Sprite(const std::string& type, const std::string& extra = "") {
    return "<sprite type=\"" + type + "\" texture=\"t.png\" top=\"1\" left=\"2\" depth=\"3\" static=\"0\" special=\"0\"" +
           extra + "/>";
}

class LevelFileTest : public ::testing::Test {
protected:
    LevelFileTest() { engine.universe = universe.get(); }
    // Loading enters the data directory beside the executable.
    ~LevelFileTest() override { fs::current_path(previousDirectory); }

    void LoadText(const std::string& text) {
        directory.Write("universe.xml", text);
        universe->LoadFromPath(directory.WidePath("universe.xml"));
    }

    std::wstring FailureOfLoading(const std::string& text) { return FailureOf([&] { LoadText(text); }); }

    void Save() { universe->SaveToPath(directory.WidePath("saved.xml")); }

    std::string SaveText() {
        Save();
        return directory.Read("saved.xml");
    }

    // A world whose one screen at (0, 0) holds records.
    IWorld* AddWorld(std::vector<SpriteData> records) {
        std::unique_ptr<IWorld> world = universe->CreateWorld();
        world->GetScreens().push_back(world->CreateScreen(0, 0));
        world->GetScreens()[0]->GetSpriteData() = std::move(records);
        universe->GetWorlds().push_back(std::move(world));
        return universe->GetWorlds().back().get();
    }

    IScreen* Screen(std::size_t world, std::size_t screen) {
        return universe->GetWorlds().at(world)->GetScreens().at(screen).get();
    }

    fs::path previousDirectory = fs::current_path();
    TempDirectory directory;
    WorldFakeEngine engine;
    std::unique_ptr<k_Universe> universe = std::make_unique<k_Universe>(&engine);
};

// ------------------------------------------------------------------ writing and reading back

TEST_F(LevelFileTest, WritesTheFormatByteForByteAndReadsItBackUnchanged) {
    SpriteData record = Record(r_SpriteType::SolidCube, L"ball.png", -3.7f, 10.9f);
    record.depth = 2;
    record.isStatic = true;
    universe->SetCurrentWorld(AddWorld({record}));
    EXPECT_EQ(SaveText(), kOneSpriteLevel);

    LoadText(kOneSpriteLevel);
    EXPECT_FLOAT_EQ(Screen(0, 0)->GetSpriteData().at(0).top, 10.0f);
    EXPECT_EQ(SaveText(), kOneSpriteLevel);
}

// Goals, checkpoints and a world's music are written only when set, after the attributes
// every level has; an attribute given as anything but 1 is not set and goes on a save.
TEST_F(LevelFileTest, GoalsCheckpointsAndMusicAreReadAndWrittenOnlyWhenSet) {
    const std::string marked = Level(
        "\t<world name=\"Reef\" active=\"1\" music=\"sounds/reef&amp;sea.xm\">\n"
        "\t\t<screen x=\"0\" y=\"0\">\n\t\t</screen>\n"
        "\t\t<screen x=\"1\" y=\"0\" checkpoint=\"1\">\n\t\t</screen>\n"
        "\t\t<screen x=\"2\" y=\"0\" goal=\"1\" checkpoint=\"1\">\n\t\t</screen>\n\t</world>\n");
    LoadText(marked);
    EXPECT_EQ(universe->GetWorlds().at(0)->GetMusic(), L"sounds/reef&sea.xm");
    EXPECT_EQ(std::tuple(Screen(0, 0)->IsGoal(), Screen(0, 0)->IsCheckpoint(), Screen(0, 1)->IsGoal(),
                         Screen(0, 1)->IsCheckpoint(), Screen(0, 2)->IsGoal(), Screen(0, 2)->IsCheckpoint()),
              std::tuple(false, false, false, true, true, true));
    EXPECT_EQ(SaveText(), marked);

    LoadText(Level("<world active=\"1\"><screen x=\"0\" y=\"0\" goal=\"0\" checkpoint=\"2\" /></world>"));
    EXPECT_EQ(std::pair(Screen(0, 0)->IsGoal(), Screen(0, 0)->IsCheckpoint()), std::pair(false, false));
    EXPECT_EQ(SaveText().find("goal"), std::string::npos);
    EXPECT_TRUE(Contains(FailureOfLoading(Level(kScreenStart.substr(0, kScreenStart.size() - 1) + " goal=\"yes\">" +
                                                kScreenEnd)),
                         {L"\"goal\"", L"\"yes\""}));
}

TEST_F(LevelFileTest, LoadedLevelIsCompleteAndItsActiveWorldEntered) {
    LoadText(Level("\t<world name=\"Caves\" active=\"0\">\n"
                   "\t\t<screen x=\"0\" y=\"0\">" + Sprite("Background") + "</screen>\n\t</world>\n"
                   "\t<world name=\"Sky\" active=\"1\">\n"
                   "\t\t<screen x=\"-4\" y=\"-7\">\n"
                   "\t\t\t<sprite type=\"door\" top=\"-5\" left=\"2147483647\" depth=\"-2147483648\" static=\"1\" "
                   "special=\"1\" />\n"
                   "\t\t\t" + Sprite("SolidSphere") + "\n"
                   "\t\t</screen>\n"
                   "\t\t<screen x=\"3\" y=\"2\" />\n"
                   "\t</world>\n"));

    auto& worlds = universe->GetWorlds();
    ASSERT_EQ(worlds.size(), 2u);
    EXPECT_EQ(worlds[0]->GetName(), L"Caves");
    EXPECT_EQ(worlds[1]->GetName(), L"Sky");
    EXPECT_EQ(universe->GetCurrentWorld(), worlds[1].get());
    IScreen* first = Screen(1, 0);
    EXPECT_EQ(worlds[1]->GetCurrentScreen(), first);
    EXPECT_EQ(std::tuple(first->GetX(), first->GetY(), Screen(1, 1)->GetX()), std::tuple(-4, -7, 3));
    EXPECT_NE(SaveText().find("<screen x=\"-4\" y=\"-7\">"), std::string::npos);
    ASSERT_EQ(first->GetSpriteData().size(), 2u);
    const SpriteData& door = first->GetSpriteData()[0];  // an absent texture is the empty name
    EXPECT_EQ(std::tuple(door.type, door.texture, door.top, door.left, door.depth, door.isStatic, door.special, door.broken),
              std::tuple(r_SpriteType::Door, L"", -5.0f, 2147483647.0f, -2147483647 - 1, true, true, false));
    EXPECT_EQ(first->GetSpriteData()[1].type, r_SpriteType::SolidSphere);
    EXPECT_EQ(first->GetSprites().size(), 2u);
    EXPECT_EQ(engine.scene.size(), 2u);
}

TEST_F(LevelFileTest, TextValuesAreEscapedAndReadBackUnchanged) {
    const std::wstring awkward = L"a&b<c>d\"e'f\tg\nh\ri \u00e9\u6c34\U0001F30A;&amp;";
    AddWorld({Record(r_SpriteType::SolidSphere, awkward, 0, 0)})->SetName(awkward);
    const std::string saved = SaveText();
    EXPECT_NE(saved.find("a&amp;b&lt;c&gt;d&quot;e'f&#9;g&#10;h&#13;i \xC3\xA9"), std::string::npos) << saved;
    universe->LoadFromPath(directory.WidePath("saved.xml"));
    EXPECT_EQ(Screen(0, 0)->GetSpriteData().at(0).texture, awkward);
    EXPECT_EQ(universe->GetWorlds().at(0)->GetName(), awkward);
}

TEST_F(LevelFileTest, SavingReplacesWritableRegularFilesWholeOrNotAtAllAndKeepsLinksAsLinks) {
    std::vector<SpriteData>& records = AddWorld({SpriteData(), SpriteData()})->GetScreens()[0]->GetSpriteData();
    const std::string text = SaveText();
    directory.Write("real.xml", "old");
    fs::create_symlink("real.xml", directory.Path("link.xml"));
    universe->SaveToPath(directory.WidePath("link.xml"));
    EXPECT_TRUE(fs::is_symlink(directory.Path("link.xml")));
    EXPECT_EQ(directory.Read("real.xml"), text);
    const std::string longestName = std::string(251, 'n') + ".xml";
    universe->SaveToPath(directory.WidePath(longestName));
    EXPECT_EQ(directory.Read(longestName), text);

    directory.Write("saved.xml", kOneSpriteLevel);
    const fs::perms permissions = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(directory.Path("saved.xml"), permissions);
    fs::create_directory(directory.Path("folder"));
    ASSERT_EQ(mkfifo(directory.Path("pipe").c_str(), 0600), 0);
    fs::create_symlink("pipe", directory.Path("pipe-link"));
    directory.Write("protected.xml", "old");
    fs::permissions(directory.Path("protected.xml"), fs::perms::owner_read);
    auto entries = [&] { return std::distance(fs::directory_iterator(directory.Path()), fs::directory_iterator()); };
    const auto entriesBefore = entries();
    for (const char* refused : {"pipe", "pipe-link", "protected.xml", "folder", "missing/universe.xml"}) {
        const std::wstring path = directory.WidePath(refused);
        EXPECT_TRUE(Contains(FailureOf([&] { universe->SaveToPath(path); }), {L"Cannot save the level: " + path}));
    }
    records[1].type = static_cast<r_SpriteType::Value>(6);
    EXPECT_EQ(FailureOf([&] { Save(); }), L"r_SpriteType::ToString: unrecognized value");
    records[1].type = r_SpriteType::Door;
    records[1].texture = L"bell\a.png";  // XML cannot hold a bell character
    FailureOf([&] { Save(); });
    records[1].texture = L"door.png";
    EXPECT_EQ(directory.Read("saved.xml"), kOneSpriteLevel);
    EXPECT_EQ(fs::symlink_status(directory.Path("pipe")).type(), fs::file_type::fifo);
    EXPECT_TRUE(fs::is_symlink(directory.Path("pipe-link")));
    EXPECT_EQ(directory.Read("protected.xml"), "old");
    EXPECT_EQ(entries(), entriesBefore) << "no temporary file is left behind";

    universe->GetWorlds().clear();
    EXPECT_EQ(SaveText(), Level(""));
    EXPECT_EQ(fs::status(directory.Path("saved.xml")).permissions(), permissions);
}

// ------------------------------------------------------------------ reading rules

TEST_F(LevelFileTest, ActiveMarksOnlyTheIntegerOneAndTheLastMarkWins) {
    const std::string screen = "<screen x=\"0\" y=\"0\"/>";
    LoadText(Level("<world active=\" 1 \">" + screen + "</world><world active=\"2\">" + screen + "</world>"));
    EXPECT_EQ(universe->GetCurrentWorld(), universe->GetWorlds()[0].get());

    LoadText(Level("<world active=\"1\">" + screen + "</world><world active=\"\t+001\n\">" + screen + "</world>"));
    EXPECT_EQ(universe->GetCurrentWorld(), universe->GetWorlds()[1].get());

    LoadText(Level("<world active=\"0\">" + screen + "</world><world active=\"-1\"/>"));
    EXPECT_EQ(universe->GetCurrentWorld(), nullptr);
    EXPECT_EQ(universe->GetWorlds().size(), 2u);
    EXPECT_TRUE(engine.scene.empty());

    // An active world without screens is current without a screen.
    LoadText(Level("<world active=\"1\"></world>"));
    ASSERT_EQ(universe->GetWorlds().size(), 1u);
    EXPECT_EQ(universe->GetCurrentWorld(), universe->GetWorlds()[0].get());
    EXPECT_EQ(universe->GetCurrentWorld()->GetCurrentScreen(), nullptr);
    EXPECT_EQ(SaveText(), Level("\t<world name=\"DummyWorld\" active=\"1\">\n\t</world>\n"));

    LoadText(kOneSpriteLevel);
    LoadText("<universe/>");
    EXPECT_TRUE(universe->GetWorlds().empty());
    EXPECT_EQ(universe->GetCurrentWorld(), nullptr);
    EXPECT_TRUE(engine.scene.empty());
}

TEST_F(LevelFileTest, OtherElementsCommentsAndTextAreSkippedAndScreensKeepFileOrder) {
    LoadText("<level>\n<!-- <world active=\"1\"/> -->\n<World active=\"1\"/><WORLD/><?world active=\"1\"?>\n"
             "<other><world active=\"1\"/></other>\n"
             "<world active=\"1\" extra=\"ignored\"><Screen x=\"9\" y=\"9\"/><screen x=\"1\" y=\"1\"><Sprite/>" +
             Sprite("Dangerous", " unknown=\"x\"") + "<!-- note -->  text  <![CDATA[<sprite/>]]></screen></world>\n"
             "</level>");
    ASSERT_EQ(universe->GetWorlds().size(), 1u);
    ASSERT_EQ(universe->GetWorlds()[0]->GetScreens().size(), 1u);
    ASSERT_EQ(Screen(0, 0)->GetSpriteData().size(), 1u);
    EXPECT_EQ(Screen(0, 0)->GetSpriteData()[0].type, r_SpriteType::Dangerous);

    LoadText(Level("<world active=\"1\"><screen x=\"0\" y=\"0\"/><screen x=\"1\" y=\"0\">" + Sprite("Door") +
                   "</screen><screen x=\"1\" y=\"0\"/></world>"));
    ASSERT_EQ(universe->GetWorlds()[0]->GetScreens().size(), 3u);
    EXPECT_EQ(Screen(0, 0)->GetRight(), Screen(0, 1));
    EXPECT_EQ(Screen(0, 2)->GetSpriteData().size(), 0u);
}

TEST_F(LevelFileTest, IntegersAreWhatTheXmlIntegerParserTakesWithinThirtyTwoBits) {
    const std::pair<std::u16string, std::optional<std::int32_t>> cases[] = {
        {u"0", 0}, {u"+5", 5}, {u"007", 7}, {u"-0", 0}, {u" \t\r\n42\n", 42}, {u"-2147483648", -2147483647 - 1},
        {u"2147483647", 2147483647}, {u"00000000000000000000012", 12}, {u"\v 5", 5}, {u"2147483648", std::nullopt},
        {u"-2147483649", std::nullopt}, {u"99999999999999999999", std::nullopt}, {u"", std::nullopt},
        {u"  ", std::nullopt}, {u"+", std::nullopt}, {u"-", std::nullopt}, {u"1.0", std::nullopt},
        {u"5abc", std::nullopt}, {u"1 2", std::nullopt}, {u"+-1", std::nullopt}, {u"0x10", std::nullopt},
        {u"\u0661", std::nullopt}, {u"5\f", std::nullopt}, {u"true", std::nullopt},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseLevelInteger(text), value) << ToUtf8(std::wstring(text.begin(), text.end()));
    }
}

// ------------------------------------------------------------------ failures

TEST_F(LevelFileTest, FailuresNameTheFilePlaceElementAndAttribute) {
    const std::wstring file = directory.WidePath("universe.xml");
    const std::pair<std::string, std::vector<std::wstring>> cases[] = {
        {"<universe>\n  <world active=\"1\">\n</universe>\n", {L"Cannot load the level: ", file + L":3:"}},
        {Level("<world active=\"1\">\n<screen x=\"0\" y=\"0\">\n" + Sprite("SolidCube") +
               "\n<sprite type=\"Door\" top=\"1.5\" left=\"0\" depth=\"0\" static=\"0\" special=\"0\"/>\n" + kScreenEnd),
         {file + L":6:", L"element \"sprite\", attribute \"top\": \"1.5\""}},
        {Level("<world active=\"true\"/>"),
         {L"universe.xml:3:", L"\"world\"", L"\"active\"", L"\"true\" is not a 32-bit integer"}},
        // Elements the reader skips still count when the bad element's place is looked up.
        {Level("<note><world active=\"1\"/></note>\n  <world active=\"x\"/>"), {file + L":4:22: element \"world\""}},
        {Level("<world name=\"w\"/>"), {L"\"world\"", L"\"active\" is missing"}},
        // With several bad attributes the first in reading order is the one reported.
        {Level(kScreenStart + "<sprite/>" + kScreenEnd), {L"element \"sprite\": attribute \"static\" is missing"}},
        {Level("<world active=\"1\"><screen x=\"0\"/></world>"), {L"element \"screen\": attribute \"y\" is missing"}},
        {Level(kScreenStart + Sprite("Water") + kScreenEnd),
         {L"attribute \"type\": r_SpriteType::Parse: unrecognized value (\"Water\")"}},
        {Level(kScreenStart + "<sprite top=\"0\" left=\"0\" depth=\"0\" static=\"0\" special=\"0\"/>" + kScreenEnd),
         {L"attribute \"type\" is missing"}},
        {"", {file + L": the level file is empty"}},
        {"not xml at all", {file + L":1:"}},
        {"<universe><world active=\"1\"/></universe>trailing", {L"universe.xml:1:"}},
        // The library reports an unsupported version by an exception of its own.
        {"<?xml version=\"1.OO0\"?><universe/>", {file + L": "}},
    };
    for (const auto& [text, parts] : cases) {
        EXPECT_TRUE(Contains(FailureOfLoading(text), parts)) << text;
    }
    const std::wstring absent = directory.WidePath("absent.xml");
    EXPECT_TRUE(Contains(FailureOf([&] { universe->LoadFromPath(absent); }), {absent, L"cannot be opened"}));
}

// A pipe without a writer would block the open for ever: the guard ends such a hang so
// that the test fails instead of never ending.
TEST_F(LevelFileTest, OnlyARegularFileIsReadAndAPipeGetsItsMessageAtOnce) {
    ASSERT_EQ(mkfifo(directory.Path("pipe.xml").c_str(), 0600), 0);
    const std::pair<std::wstring, std::wstring> cases[] = {
        {directory.WidePath("pipe.xml"), L"a named pipe"}, {directory.WidePath(), L"a folder"}, {L"/dev/zero", L"a device"}};
    for (const auto& [path, kind] : cases) {
        std::future<std::wstring> failure = std::async(std::launch::async, [&, path = path] {
            return FailureOf([&] { universe->LoadFromPath(path); });
        });
        if (failure.wait_for(std::chrono::seconds(20)) == std::future_status::timeout) {
            ADD_FAILURE() << "loading " << ToUtf8(path) << " hangs";
            close(open(directory.Path("pipe.xml").c_str(), O_WRONLY | O_NONBLOCK));
        }
        EXPECT_TRUE(Contains(failure.get(), {path + L": the level file is " + kind + L", not a regular file"}));
    }
}

TEST_F(LevelFileTest, LoadingFromADataFileUsesTheSameReader) {
    MemoryFile good(kOneSpriteLevel.data(), kOneSpriteLevel.size());
    universe->Load(&good);
    ASSERT_EQ(universe->GetWorlds().size(), 1u);
    EXPECT_EQ(SaveText(), kOneSpriteLevel);

    const std::string badText = "<universe>\n<world active=\"x\"/></universe>";
    MemoryFile bad(badText.data(), badText.size());
    EXPECT_TRUE(Contains(FailureOf([&] { universe->Load(&bad); }), {L"level data:2:", L"\"active\""}));
    EXPECT_TRUE(Contains(FailureOf([&] { universe->LoadNamed(&bad, L"pack:universe.xml"); }), {L"pack:universe.xml:2:"}));
    EXPECT_TRUE(Contains(FailureOf([&] { universe->Load(nullptr); }), {L"no level file was given"}));
    EXPECT_EQ(SaveText(), kOneSpriteLevel);
}

TEST_F(LevelFileTest, ABadLevelLeavesThePreviousUniverseUntouched) {
    LoadText(Level("<world active=\"0\"><screen x=\"0\" y=\"0\"/></world>" + kScreenStart + Sprite("Door") +
                   Sprite("SolidCube") + kScreenEnd));
    IWorld* current = universe->GetCurrentWorld();
    IScreen* screen = current->GetCurrentScreen();
    ISprite* sprite = screen->GetSprites()[0].get();
    const std::string before = SaveText();
    const int created = engine.spritesCreated;

    const std::string good = kScreenStart + Sprite("Door") + kScreenEnd;
    const std::string badLevels[] = {
        Level(good + kScreenStart + Sprite("Door") + Sprite("Lava") + kScreenEnd),
        Level(good + "<world active=\"1\"><screen x=\"0\" y=\"2147483648\"/></world>"),
        Level(good).substr(0, 80),
        "",
        // Parses, but entering its first screen needs a picture or shader that cannot be made.
        Level(kScreenStart + "<sprite type=\"Door\" texture=\"gone.png\" top=\"0\" left=\"0\" depth=\"0\" "
              "static=\"0\" special=\"0\"/>" + kScreenEnd),
        Level(kScreenStart + "<sprite type=\"Background\" texture=\"Water\" top=\"0\" left=\"0\" depth=\"0\" "
              "static=\"0\" special=\"1\"/>" + kScreenEnd),
    };
    engine.missing = {L"gone.png", L"Water"};
    for (const std::string& bad : badLevels) {
        FailureOfLoading(bad);
        EXPECT_EQ(universe->GetWorlds().size(), 2u);
        EXPECT_EQ(universe->GetCurrentWorld(), current);
        EXPECT_EQ(current->GetCurrentScreen(), screen);
        EXPECT_EQ(screen->GetSprites()[0].get(), sprite);
        EXPECT_EQ(engine.scene.size(), 2u);
    }
    FailureOf([&] { universe->LoadFromPath(directory.WidePath("absent.xml")); });
    EXPECT_EQ(engine.spritesCreated, created);
    EXPECT_EQ(SaveText(), before);
}

TEST_F(LevelFileTest, EntitiesAndDocumentTypesAreRefused) {
    const std::string entity = "<?xml version=\"1.0\"?>\n<!DOCTYPE universe [<!ENTITY door \"Door\">]>\n<universe>" +
                               kScreenStart + Sprite("&door;") + kScreenEnd + "</universe>\n";
    EXPECT_TRUE(Contains(FailureOfLoading(entity), {L"universe.xml:2:"}));
    MemoryFile inMemory(entity.data(), entity.size());
    FailureOf([&] { universe->Load(&inMemory); });

    directory.Write("secret.txt", "SolidCube");
    FailureOfLoading("<?xml version=\"1.0\"?>\n<!DOCTYPE universe [<!ENTITY secret SYSTEM \"" + directory.Path("secret.txt") +
                     "\">]>\n<universe>" + kScreenStart + Sprite("&secret;") + kScreenEnd + "</universe>\n");
    EXPECT_TRUE(universe->GetWorlds().empty());
    FailureOfLoading("<?xml version=\"1.0\"?>\n<!DOCTYPE universe SYSTEM \"http://localhost:9/x.dtd\">\n<universe/>\n");
}

TEST_F(LevelFileTest, LoadingAndSavingEnterTheDataDirectoryBesideTheExecutable) {
    const fs::path data = fs::read_symlink("/proc/self/exe").parent_path() / "data";
    fs::current_path(directory.Path());
    LoadText(kOneSpriteLevel);
    const fs::path expected = fs::canonical(fs::is_directory(data) ? data : fs::path(directory.Path()));
    EXPECT_EQ(fs::current_path(), expected) << "the data directory, or unchanged when there is none";

    // A relative path names the same file in that directory on every call.
    const fs::path twice = expected / "rollandia-saved-twice.xml";
    universe->SaveToPath(twice.filename().wstring());
    EXPECT_TRUE(fs::exists(twice));
    universe->SetCurrentWorld(nullptr);
    universe->GetWorlds().clear();
    universe->SaveToPath(twice.filename().wstring());
    EXPECT_EQ(fs::file_size(twice), Level("").size());
    fs::remove(twice);
}

}  // namespace
