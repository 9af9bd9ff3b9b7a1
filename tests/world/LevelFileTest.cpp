#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>

#include "Failure.h"
#include "support/WorldFakes.h"
#include "world/LevelInteger.h"
#include "world/k_Universe.h"

namespace {

namespace fs = std::filesystem;

const std::string kOneSpriteLevel =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<universe>\n\t<world name=\"DummyWorld\" active=\"1\">\n"
    "\t\t<screen x=\"0\" y=\"0\">\n\t\t\t<sprite type=\"SolidCube\" texture=\"ball.png\" top=\"10\" left=\"-3\" "
    "depth=\"2\" static=\"1\" special=\"0\" />\n\t\t</screen>\n\t</world>\n</universe>\n";

std::string Level(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<universe>\n" + body + "</universe>\n";
}

std::string Sprite(const std::string& type, const std::string& extra = "") {
    return "<sprite type=\"" + type + "\" texture=\"t.png\" top=\"1\" left=\"2\" depth=\"3\" static=\"0\" special=\"0\"" +
           extra + "/>";
}

void ExpectContains(const std::wstring& message, std::initializer_list<std::wstring> parts) {
    for (const std::wstring& part : parts) {
        EXPECT_NE(message.find(part), std::wstring::npos) << ToUtf8(message) << "\n  lacks: " << ToUtf8(part);
    }
}

class LevelFileTest : public ::testing::Test {
protected:
    LevelFileTest() : previousDirectory(fs::current_path()) {
        char pattern[] = "/tmp/rollandia-level-XXXXXX";
        directory = mkdtemp(pattern);
        engine.universe = universe.get();
    }
    ~LevelFileTest() override {
        fs::current_path(previousDirectory);
        fs::remove_all(directory);
    }

    std::wstring PathOf(const std::string& name) const { return FromUtf8((directory / name).string()); }

    std::wstring Write(const std::string& name, const std::string& text) {
        std::ofstream(directory / name, std::ios::binary) << text;
        return PathOf(name);
    }

    std::string Read(const std::string& name) const {
        std::ifstream file(directory / name, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    void LoadText(const std::string& text) { universe->LoadFromPath(Write("universe.xml", text)); }

    std::string SaveText() {
        universe->SaveToPath(PathOf("saved.xml"));
        return Read("saved.xml");
    }

    std::wstring FailureOfLoading(const std::string& text) {
        try {
            LoadText(text);
        } catch (const k_Failure& failure) {
            return failure.Message();
        }
        ADD_FAILURE() << "the level loaded: " << text;
        return {};
    }

    std::vector<fs::path> Entries() const {
        std::vector<fs::path> entries;
        for (auto& entry : fs::directory_iterator(directory)) {
            entries.push_back(entry.path().filename());
        }
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    IScreen* Screen(std::size_t world, std::size_t screen) {
        return universe->GetWorlds().at(world)->GetScreens().at(screen).get();
    }

    fs::path previousDirectory;
    fs::path directory;
    WorldFakeEngine engine;
    std::unique_ptr<k_Universe> universe = std::make_unique<k_Universe>(&engine);
};

// ------------------------------------------------------------------ writing and reading back

TEST_F(LevelFileTest, WritesTheLevelFormatByteForByteAndReadsItBack) {
    std::unique_ptr<IWorld> world = universe->CreateWorld();
    std::unique_ptr<IScreen> screen = world->CreateScreen(0, 0);
    SpriteData record;
    record.type = r_SpriteType::SolidCube;
    record.texture = L"ball.png";
    record.top = 10.9f;
    record.left = -3.7f;
    record.depth = 2;
    record.isStatic = true;
    screen->GetSpriteData().push_back(record);
    world->GetScreens().push_back(std::move(screen));
    universe->GetWorlds().push_back(std::move(world));
    universe->SetCurrentWorld(universe->GetWorlds()[0].get());

    EXPECT_EQ(SaveText(), kOneSpriteLevel);

    LoadText(kOneSpriteLevel);
    const SpriteData& loaded = Screen(0, 0)->GetSpriteData().at(0);
    EXPECT_FLOAT_EQ(loaded.top, 10.0f);
    EXPECT_FLOAT_EQ(loaded.left, -3.0f);
    EXPECT_EQ(SaveText(), kOneSpriteLevel);
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
    EXPECT_EQ(worlds[0]->GetName(), L"DummyWorld");
    EXPECT_EQ(worlds[1]->GetName(), L"DummyWorld") << "names are not read";
    EXPECT_EQ(universe->GetCurrentWorld(), worlds[1].get());
    IScreen* first = Screen(1, 0);
    EXPECT_EQ(worlds[1]->GetCurrentScreen(), first);
    EXPECT_EQ(first->GetX(), -4);
    EXPECT_EQ(first->GetY(), -7);
    EXPECT_EQ(Screen(1, 1)->GetX(), 3);
    ASSERT_EQ(first->GetSpriteData().size(), 2u);
    const SpriteData& door = first->GetSpriteData()[0];
    EXPECT_EQ(door.type, r_SpriteType::Door);
    EXPECT_EQ(door.texture, L"") << "an absent texture is the empty name";
    EXPECT_FLOAT_EQ(door.top, -5.0f);
    EXPECT_FLOAT_EQ(door.left, 2147483647.0f);
    EXPECT_EQ(door.depth, -2147483647 - 1);
    EXPECT_TRUE(door.isStatic);
    EXPECT_TRUE(door.special);
    EXPECT_FALSE(door.broken);
    EXPECT_EQ(first->GetSpriteData()[1].type, r_SpriteType::SolidSphere);
    EXPECT_EQ(first->GetSprites().size(), 2u);
    EXPECT_EQ(engine.scene.size(), 2u);
}

TEST_F(LevelFileTest, LoadingAndSavingAgainGivesTheSameBytes) {
    LoadText(Level("\t<world name=\"x\" active=\" 1 \">\n\t\t<screen x=\"-1\" y=\"+2\">\n\t\t\t" + Sprite("BREAKABLE") +
                   "\n\t\t</screen>\n\t</world>\n\t<world active=\"0\"/>\n"));
    const std::string saved = SaveText();
    EXPECT_NE(saved.find("<world name=\"DummyWorld\" active=\"1\">"), std::string::npos);
    EXPECT_NE(saved.find("type=\"Breakable\""), std::string::npos);
    EXPECT_NE(saved.find("<screen x=\"-1\" y=\"2\">"), std::string::npos);

    LoadText(saved);
    EXPECT_EQ(SaveText(), saved);
}

TEST_F(LevelFileTest, TextValuesAreEscapedAndReadBackUnchanged) {
    const std::wstring awkward = L"a&b<c>d\"e'f\tg\nh\ri \u00e9\u6c34\U0001F30A;&amp;";
    std::unique_ptr<IWorld> world = universe->CreateWorld();
    world->SetName(awkward);
    std::unique_ptr<IScreen> screen = world->CreateScreen(1, 1);
    SpriteData record;
    record.texture = awkward;
    screen->GetSpriteData().push_back(record);
    world->GetScreens().push_back(std::move(screen));
    universe->GetWorlds().push_back(std::move(world));

    const std::string saved = SaveText();
    EXPECT_NE(saved.find("a&amp;b&lt;c&gt;d&quot;e'f&#9;g&#10;h&#13;i \xC3\xA9"), std::string::npos) << saved;

    universe->LoadFromPath(PathOf("saved.xml"));
    EXPECT_EQ(Screen(0, 0)->GetSpriteData().at(0).texture, awkward);
}

TEST_F(LevelFileTest, AFailedSaveKeepsTheEarlierFile) {
    std::unique_ptr<IWorld> world = universe->CreateWorld();
    std::unique_ptr<IScreen> screen = world->CreateScreen(0, 0);
    screen->GetSpriteData().resize(2);
    world->GetScreens().push_back(std::move(screen));
    universe->GetWorlds().push_back(std::move(world));
    std::vector<SpriteData>& records = Screen(0, 0)->GetSpriteData();
    Write("saved.xml", kOneSpriteLevel);
    const auto entriesBefore = Entries();

    records[1].type = static_cast<r_SpriteType::Value>(6);
    try {
        universe->SaveToPath(PathOf("saved.xml"));
        ADD_FAILURE() << "a type without a text form was saved";
    } catch (const k_Failure& failure) {
        EXPECT_EQ(failure.Message(), L"r_SpriteType::ToString: unrecognized value");
    }
    records[1].type = r_SpriteType::Door;
    records[1].texture = L"bell\a.png";
    EXPECT_THROW(universe->SaveToPath(PathOf("saved.xml")), k_Failure) << "XML cannot hold a bell character";

    EXPECT_EQ(Read("saved.xml"), kOneSpriteLevel);
    EXPECT_EQ(Entries(), entriesBefore) << "no temporary file is left behind";
}

TEST_F(LevelFileTest, AnUnwritableTargetFailsNamingIt) {
    const std::wstring missingDirectory = PathOf("missing/universe.xml");
    try {
        universe->SaveToPath(missingDirectory);
        ADD_FAILURE() << "saved into a missing directory";
    } catch (const k_Failure& failure) {
        ExpectContains(failure.Message(), {L"Cannot save the level", missingDirectory});
    }
    fs::create_directory(directory / "folder");
    EXPECT_THROW(universe->SaveToPath(PathOf("folder")), k_Failure);
    EXPECT_EQ(Entries(), (std::vector<fs::path>{"folder"}));
}

TEST_F(LevelFileTest, SavingReplacesAnEarlierFileKeepingItsPermissions) {
    Write("saved.xml", "old");
    fs::permissions(directory / "saved.xml", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(SaveText(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<universe>\n</universe>\n");
    EXPECT_EQ(fs::status(directory / "saved.xml").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
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

    ExpectContains(FailureOfLoading(Level("<world active=\"true\"/>")),
                   {L"universe.xml:3:", L"\"world\"", L"\"active\"", L"\"true\" is not a 32-bit integer"});
    ExpectContains(FailureOfLoading(Level("<world name=\"w\"/>")), {L"\"world\"", L"\"active\" is missing"});
}

TEST_F(LevelFileTest, ActiveWorldWithoutScreensIsCurrentWithoutAScreen) {
    LoadText(Level("<world active=\"1\"></world>"));
    ASSERT_EQ(universe->GetWorlds().size(), 1u);
    EXPECT_EQ(universe->GetCurrentWorld(), universe->GetWorlds()[0].get());
    EXPECT_EQ(universe->GetCurrentWorld()->GetCurrentScreen(), nullptr);
    EXPECT_EQ(SaveText(), Level("\t<world name=\"DummyWorld\" active=\"1\">\n\t</world>\n"));
}

TEST_F(LevelFileTest, ElementsOfOtherNamesCommentsAndTextAreSkippedUnderAnyRoot) {
    LoadText("<level>\n<!-- <world active=\"1\"/> -->\n<World active=\"1\"/><WORLD/><?world active=\"1\"?>\n"
             "<other><world active=\"1\"/></other>\n"
             "<world active=\"1\" extra=\"ignored\"><Screen x=\"9\" y=\"9\"/><screen x=\"1\" y=\"1\"><Sprite/>" +
             Sprite("Dangerous", " unknown=\"x\"") + "<!-- note -->  text  <![CDATA[<sprite/>]]></screen></world>\n"
             "</level>");
    ASSERT_EQ(universe->GetWorlds().size(), 1u);
    ASSERT_EQ(universe->GetWorlds()[0]->GetScreens().size(), 1u);
    ASSERT_EQ(Screen(0, 0)->GetSpriteData().size(), 1u);
    EXPECT_EQ(Screen(0, 0)->GetSpriteData()[0].type, r_SpriteType::Dangerous);
}

TEST_F(LevelFileTest, NoWorldLeavesTheUniverseEmpty) {
    LoadText(kOneSpriteLevel);
    LoadText("<universe/>");
    EXPECT_TRUE(universe->GetWorlds().empty());
    EXPECT_EQ(universe->GetCurrentWorld(), nullptr);
    EXPECT_TRUE(engine.scene.empty());
}

TEST_F(LevelFileTest, DuplicateScreensLoadInFileOrder) {
    LoadText(Level("<world active=\"1\"><screen x=\"0\" y=\"0\"/><screen x=\"1\" y=\"0\">" + Sprite("Door") +
                   "</screen><screen x=\"1\" y=\"0\"/></world>"));
    ASSERT_EQ(universe->GetWorlds()[0]->GetScreens().size(), 3u);
    EXPECT_EQ(Screen(0, 0)->GetRight(), Screen(0, 1));
    EXPECT_EQ(Screen(0, 2)->GetSpriteData().size(), 0u);
}

TEST_F(LevelFileTest, IntegersAreWhatTheXmlIntegerParserTakesWithinThirtyTwoBits) {
    struct Case {
        std::u16string text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {u"0", 0},          {u"+5", 5},           {u"007", 7},        {u"-0", 0},
        {u" \t\r\n42\n", 42}, {u"-2147483648", -2147483647 - 1},      {u"2147483647", 2147483647},
        {u"00000000000000000000012", 12},         {u"2147483648", std::nullopt},
        {u"-2147483649", std::nullopt},           {u"99999999999999999999", std::nullopt},
        {u"", std::nullopt}, {u"  ", std::nullopt}, {u"+", std::nullopt}, {u"-", std::nullopt},
        {u"1.0", std::nullopt}, {u"5abc", std::nullopt}, {u"1 2", std::nullopt}, {u"+-1", std::nullopt},
        {u"0x10", std::nullopt}, {u"\u0661", std::nullopt}, {u"\v 5", 5}, {u"5\f", std::nullopt}, {u"true", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseLevelInteger(c.text), c.value) << ToUtf8(std::wstring(c.text.begin(), c.text.end()));
    }
}

// ------------------------------------------------------------------ failures

TEST_F(LevelFileTest, FailuresNameTheFilePlaceElementAndAttribute) {
    const std::wstring xmlError = FailureOfLoading("<universe>\n  <world active=\"1\">\n</universe>\n");
    ExpectContains(xmlError, {L"Cannot load the level: ", PathOf("universe.xml") + L":3:"});

    const std::wstring number =
        FailureOfLoading(Level("<world active=\"1\">\n<screen x=\"0\" y=\"0\">\n" +
                               Sprite("SolidCube", "") + "\n" +
                               "<sprite type=\"Door\" top=\"1.5\" left=\"0\" depth=\"0\" static=\"0\" special=\"0\"/>\n"
                               "</screen></world>"));
    ExpectContains(number, {PathOf("universe.xml") + L":6:", L"element \"sprite\", attribute \"top\": \"1.5\""});

    // With several bad attributes the first in reading order is the one reported.
    ExpectContains(FailureOfLoading(Level("<world active=\"1\"><screen x=\"0\" y=\"0\"><sprite/></screen></world>")),
                   {L"element \"sprite\": attribute \"static\" is missing"});
    ExpectContains(FailureOfLoading(Level("<world active=\"1\"><screen x=\"0\"/></world>")),
                   {L"element \"screen\": attribute \"y\" is missing"});
    ExpectContains(FailureOfLoading(Level("<world active=\"1\"><screen x=\"0\" y=\"0\">" + Sprite("Water") +
                                          "</screen></world>")),
                   {L"attribute \"type\": r_SpriteType::Parse: unrecognized value (\"Water\")"});
    ExpectContains(FailureOfLoading(Level("<world active=\"1\"><screen x=\"0\" y=\"0\">"
                                          "<sprite top=\"0\" left=\"0\" depth=\"0\" static=\"0\" special=\"0\"/>"
                                          "</screen></world>")),
                   {L"attribute \"type\" is missing"});
    ExpectContains(FailureOfLoading(""), {PathOf("universe.xml") + L": the level file is empty"});
    ExpectContains(FailureOfLoading("not xml at all"), {PathOf("universe.xml") + L":1:"});
    ExpectContains(FailureOfLoading("<universe><world active=\"1\"/></universe>trailing"), {L"universe.xml:1:"});
    // The library reports an unsupported version by an exception of its own.
    ExpectContains(FailureOfLoading("<?xml version=\"1.OO0\"?><universe/>"), {PathOf("universe.xml") + L": "});

    try {
        universe->LoadFromPath(PathOf("absent.xml"));
        ADD_FAILURE() << "a missing file loaded";
    } catch (const k_Failure& failure) {
        ExpectContains(failure.Message(), {PathOf("absent.xml"), L"cannot be opened"});
    }
    EXPECT_THROW(universe->LoadFromPath(FromUtf8(directory.string())), k_Failure) << "a directory is no level";
}

TEST_F(LevelFileTest, LoadingFromADataFileUsesTheSameReader) {
    MemoryFile good(kOneSpriteLevel.data(), kOneSpriteLevel.size());
    universe->Load(&good);
    ASSERT_EQ(universe->GetWorlds().size(), 1u);
    EXPECT_EQ(SaveText(), kOneSpriteLevel);

    const std::string badText = "<universe>\n<world active=\"x\"/></universe>";
    MemoryFile bad(badText.data(), badText.size());
    try {
        universe->Load(&bad);
        ADD_FAILURE() << "a bad level loaded";
    } catch (const k_Failure& failure) {
        ExpectContains(failure.Message(), {L"level data:2:", L"\"active\""});
    }
    try {
        universe->LoadNamed(&bad, L"pack:universe.xml");
        ADD_FAILURE() << "a bad level loaded";
    } catch (const k_Failure& failure) {
        ExpectContains(failure.Message(), {L"pack:universe.xml:2:"});
    }
    try {
        universe->Load(nullptr);
        ADD_FAILURE() << "no file loaded";
    } catch (const k_Failure& failure) {
        ExpectContains(failure.Message(), {L"no level file was given"});
    }
    EXPECT_EQ(SaveText(), kOneSpriteLevel);
}

TEST_F(LevelFileTest, ABadLevelLeavesThePreviousUniverseUntouched) {
    LoadText(Level("<world active=\"0\"><screen x=\"0\" y=\"0\"/></world>"
                   "<world active=\"1\"><screen x=\"0\" y=\"0\">" + Sprite("Door") + Sprite("SolidCube") +
                   "</screen></world>"));
    IWorld* current = universe->GetCurrentWorld();
    IScreen* screen = current->GetCurrentScreen();
    ISprite* sprite = screen->GetSprites()[0].get();
    const std::string before = SaveText();
    const int created = engine.spritesCreated;

    const std::string good = "<world active=\"1\"><screen x=\"0\" y=\"0\">" + Sprite("Door") + "</screen></world>";
    const std::string badLevels[] = {
        Level(good + "<world active=\"1\"><screen x=\"0\" y=\"0\">" + Sprite("Door") + Sprite("Lava") +
              "</screen></world>"),
        Level(good + "<world active=\"1\"><screen x=\"0\" y=\"2147483648\"/></world>"),
        Level(good) + "<extra/>",
        Level(good).substr(0, 80),
        "",
    };
    for (const std::string& bad : badLevels) {
        FailureOfLoading(bad);
        EXPECT_EQ(universe->GetWorlds().size(), 2u);
        EXPECT_EQ(universe->GetCurrentWorld(), current);
        EXPECT_EQ(current->GetCurrentScreen(), screen);
        EXPECT_EQ(screen->GetSprites()[0].get(), sprite);
        EXPECT_EQ(engine.scene.size(), 2u);
    }
    EXPECT_THROW(universe->LoadFromPath(PathOf("absent.xml")), k_Failure);
    EXPECT_EQ(engine.spritesCreated, created);
    EXPECT_EQ(SaveText(), before);
}

TEST_F(LevelFileTest, EntitiesAndDocumentTypesAreRefused) {
    const std::string laughs =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE universe [\n<!ENTITY a \"lollollollollollollollollollol\">\n"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
        "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">\n"
        "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">\n<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">\n"
        "<!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">\n<!ENTITY i \"&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;\">\n]>\n"
        "<universe><world active=\"1\"><screen x=\"0\" y=\"0\"><sprite type=\"Door\" texture=\"&i;\" top=\"0\" "
        "left=\"0\" depth=\"0\" static=\"0\" special=\"0\"/></screen></world></universe>\n";
    ExpectContains(FailureOfLoading(laughs), {L"universe.xml:2:"});

    Write("secret.txt", "SolidCube");
    const std::string external =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE universe [<!ENTITY secret SYSTEM \"" + (directory / "secret.txt").string() +
        "\">]>\n<universe><world active=\"1\"><screen x=\"0\" y=\"0\"><sprite type=\"&secret;\" top=\"0\" left=\"0\" "
        "depth=\"0\" static=\"0\" special=\"0\"/></screen></world></universe>\n";
    FailureOfLoading(external);
    EXPECT_TRUE(universe->GetWorlds().empty());

    const std::string externalDocumentType = "<?xml version=\"1.0\"?>\n<!DOCTYPE universe SYSTEM \"http://localhost:9/x.dtd\">\n"
                                             "<universe/>\n";
    FailureOfLoading(externalDocumentType);

    MemoryFile inMemory(laughs.data(), laughs.size());
    EXPECT_THROW(universe->Load(&inMemory), k_Failure);
}

TEST_F(LevelFileTest, LoadingAndSavingEnterTheDataDirectoryBesideTheExecutable) {
    const fs::path data = fs::read_symlink("/proc/self/exe").parent_path() / "data";
    fs::current_path(directory);
    LoadText(kOneSpriteLevel);
    if (fs::is_directory(data)) {
        EXPECT_EQ(fs::current_path(), fs::canonical(data));
    } else {
        EXPECT_EQ(fs::current_path(), fs::canonical(directory)) << "unchanged when there is no data directory";
    }
}

}  // namespace
