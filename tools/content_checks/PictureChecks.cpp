// The pictures of data/: sizes, see-through parts where a piece needs them, and the tool
// remaking them byte for byte. That the level names only these is the level checker's test.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>

#include "tools/content_checks/ContentFiles.h"
#include "support/TempDirectory.h"

namespace {

struct NamedPicture {
    const char* name;
    int width;
    int height;
};

// The pictures the program loads by name.
const NamedPicture kNamedPictures[] = {
    {"Splash.png", 800, 600}, {"die.png", 800, 600},     {"die2.png", 800, 600},
    {"finish.png", 800, 600}, {"closing.png", 800, 600}, {"ball.png", 32, 32}};

// Pictures without see-through parts: the title, the closing picture, blocks, boards, crates, a
// trapdoor and full-screen backdrops. Every other picture stores an alpha channel and uses it.
const std::regex kOpaquePicture("(Splash|closing|tiles/(brick|ice|plank|crate|sky|night|cave)_.*|tiles/door_64x16)\\.png");

// A level piece's size stands in its name: "tiles/door_16x64.png" is 16 by 64.
const std::regex kPieceSize("tiles/.*_([0-9]+)x([0-9]+)\\.png");

// Mean brightness (0 to 255) of a picture laid over a mid-grey scene.
double BrightnessOverGrey(const content::Picture& picture) {
    const double grey = 128.0;
    double sum = 0.0;
    for (size_t i = 0; i < picture.rgba.size(); i += 4) {
        double alpha = picture.rgba[i + 3] / 255.0;
        double luma = 0.3 * picture.rgba[i] + 0.59 * picture.rgba[i + 1] + 0.11 * picture.rgba[i + 2];
        sum += luma * alpha + grey * (1.0 - alpha);
    }
    return sum / (picture.rgba.size() / 4);
}

bool HasSeeThroughPixels(const content::Picture& picture) {
    for (size_t i = 3; i < picture.rgba.size(); i += 4) {
        if (picture.rgba[i] < 255) return true;
    }
    return false;
}

}  // namespace

TEST(ContentPictures, EveryPictureDecodesInColourAtItsSizeWithAlphaWhereItIsSeeThrough) {
    std::set<std::string> names = content::FilesUnder(content::SourcePath("data"), ".png");
    for (const auto& named : kNamedPictures) {
        SCOPED_TRACE(named.name);
        ASSERT_TRUE(names.count(named.name));
        content::Picture picture = content::ReadPicture(content::DataPath(named.name));
        EXPECT_EQ(picture.width, named.width);
        EXPECT_EQ(picture.height, named.height);
    }
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        content::Picture picture = content::ReadPicture(content::DataPath(name));
        ASSERT_EQ(picture.error, "");
        EXPECT_TRUE(picture.isColour) << "the game refuses grey pictures";
        bool seeThrough = !std::regex_match(name, kOpaquePicture);
        EXPECT_EQ(picture.hasAlpha, seeThrough);
        EXPECT_EQ(HasSeeThroughPixels(picture), seeThrough);
        std::smatch size;
        if (name.rfind("tiles/", 0) == 0) {
            ASSERT_TRUE(std::regex_match(name, size, kPieceSize)) << "the name does not give the size";
            EXPECT_EQ(picture.width, std::stoi(size[1]));
            EXPECT_EQ(picture.height, std::stoi(size[2]));
        }
    }
}

TEST(ContentPictures, RoundPiecesAreDiscsFillingTheirSquare) {
    // A sphere's body is a circle as wide as its picture: the disc must reach the picture's
    // edges and leave its corners transparent.
    for (const char* name : {"ball.png", "tiles/boulder_24x24.png", "tiles/boulder_32x32.png", "tiles/boulder_48x48.png"}) {
        SCOPED_TRACE(name);
        content::Picture picture = content::ReadPicture(content::DataPath(name));
        ASSERT_EQ(picture.error, "");
        int last = picture.width - 1, middle = picture.width / 2;
        for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
            EXPECT_EQ(picture.Alpha(x, y), 0) << "corner " << x << "," << y;
        }
        EXPECT_EQ(picture.Alpha(middle, middle), 255);
        for (auto [x, y] : {std::pair{0, middle}, {last, middle}, {middle, 0}, {middle, last}}) {
            EXPECT_GT(picture.Alpha(x, y), 64) << "edge " << x << "," << y;
        }
    }
}

TEST(ContentPictures, DeathPicturesFlashAgainstEachOtherAndShowTheGameThrough) {
    content::Picture bright = content::ReadPicture(content::DataPath("die.png"));
    content::Picture dark = content::ReadPicture(content::DataPath("die2.png"));
    ASSERT_EQ(bright.error, "");
    ASSERT_EQ(dark.error, "");
    EXPECT_GT(BrightnessOverGrey(bright) - BrightnessOverGrey(dark), 30.0);
    for (const auto* picture : {&bright, &dark}) {
        EXPECT_LT(picture->Alpha(400, 100), 255) << "the game should show through around the message";
        EXPECT_GT(picture->Alpha(400, 100), 0);
        EXPECT_EQ(picture->Alpha(400, 300), 255) << "the message panel should be solid";
    }
}

TEST(ContentPictures, SkyIsAPlainGradientLighteningDownward) {
    // The splash is painted over the same sky; it must not leak into the sky piece.
    content::Picture sky = content::ReadPicture(content::DataPath("tiles/sky_800x600.png"));
    ASSERT_EQ(sky.error, "");
    const size_t stride = static_cast<size_t>(sky.width) * 4;
    for (int y = 0; y < sky.height; ++y) {
        const std::uint8_t* row = &sky.rgba[y * stride];
        for (int x = 1; x < sky.width; ++x) {
            ASSERT_TRUE(std::equal(row, row + 4, row + x * 4)) << "row " << y << " is not one colour";
        }
        if (y > 0) {
            ASSERT_GE(row[0], row[-static_cast<std::ptrdiff_t>(stride)]) << "row " << y;
        }
    }
}

TEST(ContentPictures, ToolRemakesTheSameBytes) {
    TempDirectory temp;
    const std::filesystem::path folder = temp.Path();
    std::string command = "python3 -B " + content::Quoted(content::SourcePath("tools/make_pictures.py")) +
                          " --output " + content::Quoted(folder);
    ASSERT_TRUE(content::Succeeds(command)) << command;
    std::set<std::string> made = content::FilesUnder(folder, ".png");
    EXPECT_EQ(made, content::FilesUnder(content::SourcePath("data"), ".png"));
    for (const auto& name : made) {
        EXPECT_TRUE(content::ReadBytes(folder / name) == content::ReadBytes(content::DataPath(name)))
            << name << ": rerun tools/make_pictures.py and commit data/";
    }
}
