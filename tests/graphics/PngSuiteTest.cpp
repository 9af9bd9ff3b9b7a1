// Runs the decoder over the PNG conformance suite kept beside the project (skipped when it
// is absent). Valid pictures must decode to the pixels of libpng's simplified reader, or be
// refused where the game refuses them (plain grey); corrupt ones must fail with a message.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "graphics/PngDecoder.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kSignatureSize = 8;
constexpr std::size_t kChunkFrame = 12;  // length, type and checksum around a chunk's data
constexpr std::size_t kColourTypeOffset = 25;
constexpr std::size_t kBitDepthOffset = 24;

fs::path SuiteFolder() {
    return fs::path(ROLLANDIA_SOURCE_DIR) / ".." / "shared" / "testdata" / "pngsuite";
}

std::vector<std::uint8_t> ReadWhole(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(stream), {});
}

// Calls visit(type, first, size) for each whole chunk of the file.
template <typename Visit>
void ForEachChunk(const std::vector<std::uint8_t>& file, Visit visit) {
    std::size_t offset = kSignatureSize;
    while (offset + kChunkFrame <= file.size()) {
        std::size_t chunkSize = kChunkFrame + png_get_uint_32(&file[offset]);
        if (chunkSize > file.size() - offset) {
            return;
        }
        visit(std::string(reinterpret_cast<const char*>(&file[offset + 4]), 4), offset, chunkSize);
        offset += chunkSize;
    }
}

bool HasChunk(const std::vector<std::uint8_t>& file, const std::string& wanted) {
    bool found = false;
    ForEachChunk(file, [&](const std::string& type, std::size_t, std::size_t) { found = found || type == wanted; });
    return found;
}

// The file without its colour-space chunks: the game shows pixels as stored, while the
// reference reader would otherwise correct them for the file's gamma.
std::vector<std::uint8_t> WithoutColourSpace(const std::vector<std::uint8_t>& file) {
    static const std::set<std::string> kColourSpaceChunks = {"gAMA", "cHRM", "sRGB", "iCCP"};
    std::vector<std::uint8_t> out(file.begin(), file.begin() + kSignatureSize);
    ForEachChunk(file, [&](const std::string& type, std::size_t offset, std::size_t size) {
        if (!kColourSpaceChunks.count(type)) {
            out.insert(out.end(), file.begin() + offset, file.begin() + offset + size);
        }
    });
    return out;
}

// RGBA samples from libpng's simplified reader, turned bottom row first like the decoder's.
// 16-bit pictures are read as 16-bit samples: the reader's 8-bit output of interlaced 16-bit
// pictures repeats rows. Those samples come premultiplied by alpha.
bool ReferenceRgba(const std::vector<std::uint8_t>& file, bool sixteenBit, png_image& image, std::vector<int>& samples) {
    std::vector<std::uint8_t> plain = WithoutColourSpace(file);
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, plain.data(), plain.size())) {
        return false;
    }
    image.format = sixteenBit ? PNG_FORMAT_LINEAR_RGB_ALPHA : PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> buffer(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) {
        return false;
    }
    std::size_t rowSamples = image.width * 4u;
    samples.clear();
    for (std::size_t row = image.height; row-- > 0;) {
        for (std::size_t sample = row * rowSamples; sample < (row + 1) * rowSamples; ++sample) {
            samples.push_back(sixteenBit ? reinterpret_cast<const png_uint_16*>(buffer.data())[sample] : buffer[sample]);
        }
    }
    return true;
}

// Whether a premultiplied 16-bit colour sample fits the decoder's 8-bit sample, which keeps
// the high byte of the stored one, at the given 16-bit alpha.
bool FitsHighByte(int decoded, int premultiplied, int alpha) {
    const int kOpaque = 65535;
    if (alpha == kOpaque) {
        return premultiplied >> 8 == decoded;
    }
    const double kFull = kOpaque;
    double lowest = decoded * 256.0 * alpha / kFull;
    double highest = (decoded * 256.0 + 255.0) * alpha / kFull;
    return premultiplied >= lowest - 1 && premultiplied <= highest + 1;
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

void ExpectSamePixels(const std::string& name, const std::vector<std::uint8_t>& file) {
    bool sixteenBit = file[kBitDepthOffset] == 16;
    png_image reference;
    std::vector<int> expected;
    ASSERT_TRUE(ReferenceRgba(file, sixteenBit, reference, expected)) << name << ": " << reference.message;
    PngImage image;
    std::string error;
    ASSERT_TRUE(DecodePng(file.data(), file.size(), image, error)) << name << ": " << error;
    ASSERT_EQ(image.width, static_cast<int>(reference.width)) << name;
    ASSERT_EQ(image.height, static_cast<int>(reference.height)) << name;
    // A palette's transparency gives an alpha channel; the transparent colour of an RGB
    // picture is not used, so only its colour channels are compared.
    int colourType = file[kColourTypeOffset];
    bool hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) || (colourType == PNG_COLOR_TYPE_PALETTE && HasChunk(file, "tRNS"));
    EXPECT_EQ(image.channels, hasAlpha ? 4 : 3) << name;
    const int kAlpha = 3;
    std::size_t pixelCount = static_cast<std::size_t>(image.width) * image.height;
    for (std::size_t pixel = 0; pixel < pixelCount; ++pixel) {
        const int* wanted = &expected[pixel * 4];
        for (int channel = 0; channel < image.channels; ++channel) {
            int actual = image.pixels[pixel * image.channels + channel];
            bool same = !sixteenBit                 ? actual == wanted[channel]
                        : channel == kAlpha ? actual == wanted[channel] >> 8
                                                    : FitsHighByte(actual, wanted[channel], wanted[kAlpha]);
            ASSERT_TRUE(same) << name << ": pixel " << pixel << " channel " << channel << " is " << actual
                              << ", the reference has " << wanted[channel] << " at alpha " << wanted[kAlpha];
        }
    }
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
        ExpectSamePixels(name, file);
        ++decoded;
    }
    EXPECT_GT(decoded, 100);
    EXPECT_GT(refused, 20);
    EXPECT_GT(corrupt, 10);
}
