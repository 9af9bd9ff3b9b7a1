// Runs the decoder over the PNG conformance suite kept beside the project (skipped when it
// is absent). Valid pictures must decode to the pixels libpng reads, or be refused where the
// game refuses them (plain grey); corrupt ones must fail with a message.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "graphics/PngDecoder.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kColourTypeOffset = 25;

fs::path SuiteFolder() {
    return fs::path(ROLLANDIA_SOURCE_DIR) / ".." / "shared" / "testdata" / "pngsuite";
}

std::vector<std::uint8_t> ReadWhole(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(stream), {});
}

// libpng's own reading, bottom row first like the decoder's: 8-bit RGB or RGBA, colours as
// stored (no gamma correction), a 16-bit sample cut to its high byte, and a transparent
// colour turned into alpha for palette pictures only.
bool ReadReference(png_structp png, png_infop info, FILE* stream, PngImage& reference, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_init_io(png, stream);
    png_read_info(png, info);
    if (png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE) {
        png_set_expand(png);
    }
    png_set_gray_to_rgb(png);
    png_set_strip_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    reference.width = static_cast<int>(png_get_image_width(png, info));
    reference.height = static_cast<int>(png_get_image_height(png, info));
    reference.channels = png_get_channels(png, info);
    const std::size_t rowBytes = static_cast<std::size_t>(reference.width) * reference.channels;
    reference.pixels.resize(rowBytes * reference.height);
    rows.resize(reference.height);
    for (int row = 0; row < reference.height; ++row) {
        rows[row] = reference.pixels.data() + (reference.height - 1 - row) * rowBytes;
    }
    png_read_image(png, rows.data());
    return true;
}

void ExpectSamePixels(const fs::path& path, const std::vector<std::uint8_t>& file) {
    const std::string name = path.filename().string();
    std::unique_ptr<FILE, int (*)(FILE*)> stream(std::fopen(path.c_str(), "rb"), std::fclose);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    PngImage reference;
    std::vector<png_bytep> rows;
    const bool read = ReadReference(png, info, stream.get(), reference, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    ASSERT_TRUE(read) << name;
    PngImage image;
    std::string error;
    ASSERT_TRUE(DecodePng(file.data(), file.size(), image, error)) << name << ": " << error;
    EXPECT_EQ(image.width, reference.width) << name;
    EXPECT_EQ(image.height, reference.height) << name;
    EXPECT_EQ(image.channels, reference.channels) << name;
    EXPECT_TRUE(image.pixels == reference.pixels) << name << ": the pixels differ";
}

std::vector<fs::path> SuitePictures() {
    std::vector<fs::path> pictures;
    std::error_code missing;
    for (const auto& entry : fs::directory_iterator(SuiteFolder(), missing)) {
        if (entry.path().extension() == ".png") {
            pictures.push_back(entry.path());
        }
    }
    std::sort(pictures.begin(), pictures.end());
    return pictures;
}

}  // namespace

TEST(PngSuite, ValidPicturesDecodeLikeTheReferenceOrAreRefusedAsGreyAndCorruptOnesFail) {
    std::vector<fs::path> pictures = SuitePictures();
    if (pictures.empty()) {
        GTEST_SKIP() << "no PNG suite at " << SuiteFolder();
    }
    int decoded = 0;
    int refused = 0;
    int corrupt = 0;
    for (const fs::path& path : pictures) {
        std::string name = path.filename().string();
        std::vector<std::uint8_t> file = ReadWhole(path);
        const bool isCorrupt = name[0] == 'x';  // the suite's corrupt pictures
        if (isCorrupt || file[kColourTypeOffset] == PNG_COLOR_TYPE_GRAY) {
            PngImage image;
            std::string error;
            EXPECT_FALSE(DecodePng(file.data(), file.size(), image, error)) << name;
            EXPECT_FALSE(error.empty()) << name;
            EXPECT_TRUE(isCorrupt || error.find("grey") != std::string::npos) << name << ": " << error;
            EXPECT_TRUE(image.pixels.empty()) << name;
            ++(isCorrupt ? corrupt : refused);
            continue;
        }
        ExpectSamePixels(path, file);
        ++decoded;
    }
    EXPECT_GT(decoded, 100);
    EXPECT_GT(refused, 20);
    EXPECT_GT(corrupt, 10);
}
