#include <gtest/gtest.h>
#include <zlib.h>

#include <array>

#include "graphics/PngDecoder.h"
#include "support/PngWriter.h"

namespace {

std::array<int, 4> Pattern(int x, int y) {
    return {x * 6 % 256, y * 13 % 256, (x * y + 7) % 256, (x + y * 3) % 256};
}

bool Decode(const std::vector<std::uint8_t>& file, PngImage& image, std::string& error) {
    return DecodePng(file.data(), file.size(), image, error);
}

// The decoded pixel (x, y), y counted from the top of the picture.
std::vector<int> PixelAt(const PngImage& image, int x, int y) {
    std::size_t offset = (static_cast<std::size_t>(image.height - 1 - y) * image.width + x) * image.channels;
    return std::vector<int>(image.pixels.begin() + offset, image.pixels.begin() + offset + image.channels);
}

PngPicture PalettePicture(bool withTransparency) {
    PngPicture picture;
    picture.width = 5;
    picture.height = 3;
    picture.colourType = PNG_COLOR_TYPE_PALETTE;
    picture.bitDepth = 4;
    picture.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    if (withTransparency) {
        picture.paletteAlpha = {0, 128};  // the third entry stays opaque
    }
    // Two 4-bit indices per byte; each row is 3 bytes (the last half byte is padding).
    picture.rows = {0x01, 0x20, 0x10, 0x22, 0x22, 0x20, 0x00, 0x11, 0x20};
    return picture;
}

// A file with a valid header of the given size and a little image data.
std::vector<std::uint8_t> HeaderOnlyPng(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto appendChunk = [&file](const char* type, std::vector<std::uint8_t> data) {
        auto put32 = [&file](std::uint32_t value) {
            for (int shift = 24; shift >= 0; shift -= 8) {
                file.push_back(static_cast<std::uint8_t>(value >> shift));
            }
        };
        put32(static_cast<std::uint32_t>(data.size()));
        std::size_t start = file.size();
        file.insert(file.end(), type, type + 4);
        file.insert(file.end(), data.begin(), data.end());
        put32(static_cast<std::uint32_t>(crc32(0, file.data() + start, static_cast<uInt>(file.size() - start))));
    };
    std::vector<std::uint8_t> header;
    for (std::uint32_t value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            header.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    header.insert(header.end(), {8, PNG_COLOR_TYPE_RGB, 0, 0, 0});
    appendChunk("IHDR", header);
    appendChunk("IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    appendChunk("IEND", {});
    return file;
}

}  // namespace

TEST(PngDecoder, OddSizedTrueColourKeepsEveryByteWithRowsBottomUp) {
    for (bool alpha : {false, true}) {
        PngPicture picture = TrueColourPicture(37, 19, alpha, Pattern);
        PngImage image;
        std::string error;
        ASSERT_TRUE(Decode(WritePng(picture), image, error)) << error;
        int channels = alpha ? 4 : 3;
        EXPECT_EQ(image.width, 37);
        EXPECT_EQ(image.height, 19);
        EXPECT_EQ(image.channels, channels);
        ASSERT_EQ(image.pixels.size(), 37u * 19u * channels);
        for (int y = 0; y < 19; ++y) {
            for (int x = 0; x < 37; ++x) {
                auto expected = Pattern(x, y);
                ASSERT_EQ(PixelAt(image, x, y), std::vector<int>(expected.begin(), expected.begin() + channels))
                    << "pixel " << x << ", " << y;
            }
        }
    }
}

TEST(PngDecoder, InterlacedPicturesDecodeLikePlainOnes) {
    PngPicture picture = TrueColourPicture(13, 11, true, Pattern);
    PngImage plain;
    PngImage interlaced;
    std::string error;
    ASSERT_TRUE(Decode(WritePng(picture), plain, error)) << error;
    picture.interlaced = true;
    ASSERT_TRUE(Decode(WritePng(picture), interlaced, error)) << error;
    EXPECT_EQ(plain.pixels, interlaced.pixels);
}

TEST(PngDecoder, PaletteBecomesRgbOrRgbaWithItsTransparency) {
    PngImage image;
    std::string error;
    ASSERT_TRUE(Decode(WritePng(PalettePicture(false)), image, error)) << error;
    EXPECT_EQ(image.channels, 3);
    EXPECT_EQ(PixelAt(image, 0, 0), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(PixelAt(image, 2, 0), (std::vector<int>{0, 0, 255}));

    ASSERT_TRUE(Decode(WritePng(PalettePicture(true)), image, error)) << error;
    EXPECT_EQ(image.channels, 4);
    EXPECT_EQ(PixelAt(image, 0, 0), (std::vector<int>{255, 0, 0, 0}));
    EXPECT_EQ(PixelAt(image, 1, 0), (std::vector<int>{0, 255, 0, 128}));
    EXPECT_EQ(PixelAt(image, 4, 2), (std::vector<int>{0, 0, 255, 255}));
}

TEST(PngDecoder, SixteenBitChannelsKeepTheirHighByte) {
    PngPicture picture;
    picture.width = 2;
    picture.height = 1;
    picture.colourType = PNG_COLOR_TYPE_RGBA;
    picture.bitDepth = 16;
    picture.rows = {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0xFF, 0x80, 0x7F, 0x00, 0xFF, 0x01, 0x00, 0x7F, 0xFF, 0x00, 0x00};
    PngImage image;
    std::string error;
    ASSERT_TRUE(Decode(WritePng(picture), image, error)) << error;
    EXPECT_EQ(image.channels, 4);
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{0x12, 0xAB, 0xFF, 0x80, 0x00, 0x01, 0x7F, 0x00}));
}

TEST(PngDecoder, GreyWithAlphaBecomesRgba) {
    PngPicture picture;
    picture.width = 2;
    picture.height = 1;
    picture.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    picture.rows = {40, 200, 250, 10};
    PngImage image;
    std::string error;
    ASSERT_TRUE(Decode(WritePng(picture), image, error)) << error;
    EXPECT_EQ(image.channels, 4);
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{40, 40, 40, 200, 250, 250, 250, 10}));
}

TEST(PngDecoder, RefusesPlainGreyWhateverItsDepth) {
    for (int bitDepth : {1, 8, 16}) {
        PngPicture picture;
        picture.width = 8;
        picture.height = 2;
        picture.colourType = PNG_COLOR_TYPE_GRAY;
        picture.bitDepth = bitDepth;
        picture.rows.assign(static_cast<std::size_t>(2 * bitDepth), 0x5A);
        PngImage image;
        std::string error;
        EXPECT_FALSE(Decode(WritePng(picture), image, error)) << "depth " << bitDepth;
        EXPECT_NE(error.find("grey"), std::string::npos) << error;
        EXPECT_TRUE(image.pixels.empty());
    }
}

TEST(PngDecoder, EveryTruncationFailsWithAMessage) {
    std::vector<std::uint8_t> file = WritePng(TrueColourPicture(9, 7, true, Pattern));
    // The closing chunk carries nothing; every cut before it loses data the decoder needs.
    const std::size_t endChunkSize = 12;
    for (std::size_t length = 0; length + endChunkSize < file.size(); ++length) {
        std::vector<std::uint8_t> cut(file.begin(), file.begin() + length);
        PngImage image;
        std::string error;
        EXPECT_FALSE(Decode(cut, image, error)) << "cut at " << length;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(image.pixels.empty());
    }
}

TEST(PngDecoder, CorruptDataFailsWithLibpngsReason) {
    std::vector<std::uint8_t> file = WritePng(TrueColourPicture(9, 7, false, Pattern));
    PngImage image;
    std::string error;

    std::vector<std::uint8_t> badSignature = file;
    badSignature[1] = 'Q';
    EXPECT_FALSE(Decode(badSignature, image, error));
    EXPECT_EQ(error, "not a PNG picture (bad signature)");

    // A flipped bit inside the image data breaks its checksum.
    std::vector<std::uint8_t> badData = file;
    badData[file.size() - 20] ^= 0x10;
    EXPECT_FALSE(Decode(badData, image, error));
    EXPECT_EQ(error.rfind("corrupt PNG data: ", 0), 0u) << error;
    EXPECT_GT(error.size(), std::string("corrupt PNG data: ").size());
}

TEST(PngDecoder, RefusesHugePicturesBeforeTakingTheirMemory) {
    PngImage image;
    std::string error;
    EXPECT_FALSE(Decode(HeaderOnlyPng(kPngMaxSide + 1, 1), image, error));
    EXPECT_EQ(error.rfind("corrupt PNG data: ", 0), 0u) << error;

    EXPECT_FALSE(Decode(HeaderOnlyPng(kPngMaxSide, kPngMaxSide), image, error));
    EXPECT_EQ(error, "PNG picture too large: 8192 x 8192 pixels (at most 16777216)");
    EXPECT_TRUE(image.pixels.empty());

    // A header within the limits gets as far as the missing image data.
    EXPECT_FALSE(Decode(HeaderOnlyPng(64, 64), image, error));
    EXPECT_EQ(error.rfind("corrupt PNG data: ", 0), 0u) << error;
}
