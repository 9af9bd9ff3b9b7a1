#include <gtest/gtest.h>

#include "graphics/PngDecoder.h"
#include "platform/PngEncoder.h"

TEST(PngEncoder, PicturesComeBackThroughTheDecoderByteForByte) {
    for (int channels : {3, 4}) {
        PngImage original;
        original.width = 37;
        original.height = 19;
        original.channels = channels;
        for (int index = 0; index < 37 * 19 * channels; ++index) {
            original.pixels.push_back(static_cast<std::uint8_t>(index * 7 + index / 37));
        }
        std::vector<std::uint8_t> file;
        std::string error;
        ASSERT_TRUE(EncodePng(original, file, error)) << error;
        PngImage decoded;
        ASSERT_TRUE(DecodePng(file.data(), file.size(), decoded, error)) << error;
        EXPECT_EQ(decoded.width, 37);
        EXPECT_EQ(decoded.height, 19);
        EXPECT_EQ(decoded.channels, channels);
        EXPECT_EQ(decoded.pixels, original.pixels) << channels << " channels";
    }
}

TEST(PngEncoder, PicturesWhoseSizeAndPixelsDisagreeAreRefused) {
    PngImage image;
    image.width = 4;
    image.height = 4;
    image.channels = 3;
    image.pixels.assign(4 * 4 * 3 - 1, 0);
    std::vector<std::uint8_t> file{1, 2, 3};
    std::string error;
    EXPECT_FALSE(EncodePng(image, file, error));
    EXPECT_TRUE(file.empty());
    EXPECT_FALSE(error.empty());
    image.pixels.push_back(0);
    image.channels = 2;
    EXPECT_FALSE(EncodePng(image, file, error));
}
