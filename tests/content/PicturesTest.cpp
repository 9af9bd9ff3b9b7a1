#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "content/ContentFiles.h"

namespace {

struct ExpectedPicture {
    const char* name;
    int width;
    int height;
    bool hasAlpha;
};

// Every picture of the data: the four the program names itself, then the level pieces.
const ExpectedPicture k_Pictures[] = {
    {"Splash.png", 800, 600, false},
    {"die.png", 800, 600, true},
    {"die2.png", 800, 600, true},
    {"ball.png", 32, 32, true},
    // walls and floors
    {"tiles/brick_32x32.png", 32, 32, false},
    {"tiles/brick_64x16.png", 64, 16, false},
    {"tiles/brick_16x64.png", 16, 64, false},
    {"tiles/brick_128x32.png", 128, 32, false},
    {"tiles/brick_800x32.png", 800, 32, false},
    {"tiles/brick_32x600.png", 32, 600, false},
    {"tiles/ground_32x32.png", 32, 32, true},
    {"tiles/ground_64x16.png", 64, 16, true},
    {"tiles/ground_128x16.png", 128, 16, true},
    {"tiles/ground_128x32.png", 128, 32, true},
    {"tiles/ground_400x32.png", 400, 32, true},
    {"tiles/ground_800x32.png", 800, 32, true},
    {"tiles/plank_64x16.png", 64, 16, false},
    {"tiles/plank_128x16.png", 128, 16, false},
    // breakable
    {"tiles/cracked_32x32.png", 32, 32, true},
    {"tiles/cracked_64x32.png", 64, 32, true},
    {"tiles/cracked_32x64.png", 32, 64, true},
    {"tiles/glass_32x32.png", 32, 32, true},
    {"tiles/glass_64x32.png", 64, 32, true},
    // dangerous
    {"tiles/spikes_32x16.png", 32, 16, true},
    {"tiles/spikes_64x16.png", 64, 16, true},
    {"tiles/spikes_down_32x16.png", 32, 16, true},
    {"tiles/spikes_down_64x16.png", 64, 16, true},
    {"tiles/spikes_left_16x32.png", 16, 32, true},
    {"tiles/spikes_right_16x32.png", 16, 32, true},
    {"tiles/saw_32x32.png", 32, 32, true},
    {"tiles/saw_64x64.png", 64, 64, true},
    {"tiles/lava_64x16.png", 64, 16, true},
    {"tiles/lava_128x16.png", 128, 16, true},
    {"tiles/lava_256x16.png", 256, 16, true},
    // doors
    {"tiles/door_16x64.png", 16, 64, true},
    {"tiles/door_16x128.png", 16, 128, true},
    {"tiles/door_32x96.png", 32, 96, true},
    {"tiles/door_64x16.png", 64, 16, false},
    // loose pieces
    {"tiles/crate_32x32.png", 32, 32, false},
    {"tiles/crate_48x48.png", 48, 48, false},
    {"tiles/boulder_24x24.png", 24, 24, true},
    {"tiles/boulder_32x32.png", 32, 32, true},
    {"tiles/boulder_48x48.png", 48, 48, true},
    // scenery
    {"tiles/sky_800x600.png", 800, 600, false},
    {"tiles/cave_800x600.png", 800, 600, false},
    {"tiles/mountains_800x300.png", 800, 300, true},
    {"tiles/hills_800x200.png", 800, 200, true},
    {"tiles/sun_64x64.png", 64, 64, true},
    {"tiles/cloud_128x64.png", 128, 64, true},
    {"tiles/cloud_64x32.png", 64, 32, true},
    {"tiles/tree_64x128.png", 64, 128, true},
    {"tiles/pine_48x128.png", 48, 128, true},
    {"tiles/bush_64x32.png", 64, 32, true},
    {"tiles/tuft_32x16.png", 32, 16, true},
    {"tiles/flower_red_16x32.png", 16, 32, true},
    {"tiles/flower_yellow_16x32.png", 16, 32, true},
    {"tiles/sign_32x48.png", 32, 48, true},
};

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

std::set<std::string> PicturesUnder(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".png") {
            names.insert(entry.path().lexically_relative(folder).generic_string());
        }
    }
    return names;
}

}  // namespace

TEST(Pictures, EveryPictureDecodesAtItsSizeAndChannels) {
    for (const auto& expected : k_Pictures) {
        SCOPED_TRACE(expected.name);
        content::Picture picture = content::ReadPicture(content::DataPath(expected.name));
        ASSERT_EQ(picture.error, "");
        EXPECT_EQ(picture.width, expected.width);
        EXPECT_EQ(picture.height, expected.height);
        EXPECT_TRUE(picture.isColour) << "the game refuses grey pictures";
        EXPECT_EQ(picture.hasAlpha, expected.hasAlpha);
    }
}

TEST(Pictures, DataHoldsExactlyTheListedPictures) {
    std::set<std::string> listed;
    for (const auto& expected : k_Pictures) {
        listed.insert(expected.name);
    }
    EXPECT_EQ(PicturesUnder(content::SourcePath("data")), listed);
}

TEST(Pictures, RoundPiecesAreDiscsFillingTheirSquare) {
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

TEST(Pictures, DeathPicturesFlashAgainstEachOtherAndShowTheGameThrough) {
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

TEST(Pictures, SkyIsAPlainGradientLighteningDownward) {
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

TEST(Pictures, ToolRemakesTheSameBytes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "rollandia-pictures-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path folder = pattern;
    struct RemoveAtEnd {
        std::filesystem::path path;
        ~RemoveAtEnd() { std::filesystem::remove_all(path); }
    } cleanup{folder};

    std::string command = "python3 -B '" + content::SourcePath("tools/make_pictures.py").string() +
                          "' --output '" + folder.string() + "'";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;

    std::set<std::string> made = PicturesUnder(folder);
    EXPECT_EQ(made, PicturesUnder(content::SourcePath("data")));
    for (const auto& name : made) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(content::ReadBytes(folder / name) == content::ReadBytes(content::DataPath(name)))
            << "rerun tools/make_pictures.py and commit data/";
    }
}
