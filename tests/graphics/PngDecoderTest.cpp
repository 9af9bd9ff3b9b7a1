// The decoder on bad input made in memory; good pictures are compared with libpng's own reader
// over the conformance suite (PngSuiteTest.cpp).
#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <fstream>
#include <iterator>

#include "graphics/PngDecoder.h"
#include "support/PngWriter.h"

namespace {

std::array<int, 4> Pattern(int x, int y) {
    return {x * 6 % 256, y * 13 % 256, (x * y + 7) % 256, (x + y * 3) % 256};
}

bool Decode(const std::vector<std::uint8_t>& file, PngImage& image, std::string& error) {
    return DecodePng(file.data(), file.size(), image, error);
}

// A small picture's file whose header claims width x height.
std::vector<std::uint8_t> ClaimingSize(std::uint32_t width, std::uint32_t height) {
    constexpr std::size_t kHeaderType = 12;  // after the signature and the header's length
    constexpr std::size_t kHeaderData = 16;
    constexpr std::size_t kHeaderDataSize = 13;
    std::vector<std::uint8_t> file = WritePng(TrueColourPicture(1, 1, false, Pattern));
    auto putBigEndian = [&file](std::size_t at, std::uint32_t value) {
        for (int byte = 0; byte < 4; ++byte) {
            file[at + byte] = static_cast<std::uint8_t>(value >> (24 - 8 * byte));
        }
    };
    putBigEndian(kHeaderData, width);
    putBigEndian(kHeaderData + 4, height);
    putBigEndian(kHeaderData + kHeaderDataSize,
                 static_cast<std::uint32_t>(crc32(0, &file[kHeaderType], 4 + kHeaderDataSize)));
    return file;
}

std::vector<std::uint8_t> ReadSeed(const std::string& name) {
    std::ifstream stream(std::string(ROLLANDIA_SOURCE_DIR) + "/fuzz/corpus/png/" + name, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(stream), {});
}

}  // namespace

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

TEST(PngDecoder, CorruptHugeAndPlainGreyPicturesFailWithTheirReasonBeforeTakingMemory) {
    std::vector<std::uint8_t> badSignature = WritePng(TrueColourPicture(9, 7, false, Pattern));
    badSignature[1] = 'Q';
    std::vector<std::uint8_t> badData = WritePng(TrueColourPicture(9, 7, false, Pattern));
    PngPicture grey = TrueColourPicture(8, 2, false, Pattern);  // rows longer than grey needs
    grey.colourType = PNG_COLOR_TYPE_GRAY;
    badData[badData.size() - 20] ^= 0x10;  // inside the image data: breaks its checksum
    const std::string kCorrupt = "corrupt PNG data: ";  // followed by libpng's own reason
    const std::string kLimits = " (at most 8192 pixels a side and 16777216 in all)";
    struct Case {
        std::vector<std::uint8_t> file;
        std::string message;
        bool whole;  // the whole message, or how it starts
    };
    const Case cases[] = {
        {badSignature, "not a PNG picture (bad signature)", true},
        {badData, kCorrupt, false},
        {ClaimingSize(64, 64), kCorrupt, false},  // within the limits, without its image data
        {ClaimingSize(kPngMaxSide + 1, 1), "PNG picture too large: 8193 x 1 pixels" + kLimits, true},
        {WritePng(TrueColourPicture(100000, 16, false, Pattern)), "PNG picture too large: 100000 x 16 pixels" + kLimits,
         true},
        {ClaimingSize(1, 0x7fffffff), "PNG picture too large: 1 x 2147483647 pixels" + kLimits, true},
        {ClaimingSize(kPngMaxSide, kPngMaxSide), "PNG picture too large: 8192 x 8192 pixels" + kLimits, true},
        // 90 bytes whose sPLT chunk claims 1.85 GiB: refused by its length, never allocated.
        {ReadSeed("forged-splt-length.png"), kCorrupt + "sPLT: chunk data is too large", true},
        {WritePng(grey), "grey PNG pictures", false},  // which the game refuses
    };
    for (const auto& c : cases) {
        PngImage image;
        std::string error;
        EXPECT_FALSE(Decode(c.file, image, error)) << c.message;
        EXPECT_TRUE(c.whole ? error == c.message : error.rfind(c.message, 0) == 0 && error.size() > c.message.size())
            << error;
        EXPECT_TRUE(image.pixels.empty()) << error;
    }
}
