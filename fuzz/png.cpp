// Feeds arbitrary bytes to the PNG decoder: it must fail cleanly or give a picture whose
// pixel buffer matches its reported size. libpng itself is not instrumented, so random
// changes would mostly just break chunk checksums; each input is therefore decoded twice,
// as it is and with every chunk's checksum made right, so that changed chunk contents reach
// the decoding itself.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/PngDecoder.h"

namespace {

constexpr std::size_t kSignatureSize = 8;
constexpr std::size_t kLengthSize = 4;
constexpr std::size_t kTypeSize = 4;
constexpr std::size_t kChecksumSize = 4;

std::uint32_t ReadBigEndian(const std::uint8_t* bytes) {
    return (std::uint32_t(bytes[0]) << 24) | (std::uint32_t(bytes[1]) << 16) | (std::uint32_t(bytes[2]) << 8) | bytes[3];
}

void WriteBigEndian(std::uint8_t* bytes, std::uint32_t value) {
    for (int index = 0; index < 4; ++index) {
        bytes[index] = static_cast<std::uint8_t>(value >> (24 - 8 * index));
    }
}

std::vector<std::uint8_t> WithRightChecksums(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file(data, data + size);
    std::size_t offset = kSignatureSize;
    while (offset + kLengthSize + kTypeSize + kChecksumSize <= file.size()) {
        std::size_t length = ReadBigEndian(&file[offset]);
        std::size_t checked = kTypeSize + length;
        if (length > file.size() - offset - kLengthSize - kTypeSize - kChecksumSize) {
            break;
        }
        std::uint8_t* start = &file[offset + kLengthSize];
        WriteBigEndian(start + checked, static_cast<std::uint32_t>(crc32(0, start, static_cast<uInt>(checked))));
        offset += kLengthSize + checked + kChecksumSize;
    }
    return file;
}

void CheckDecoding(const std::uint8_t* data, std::size_t size) {
    PngImage image;
    std::string error;
    if (DecodePng(data, size, image, error)) {
        std::size_t expected = static_cast<std::size_t>(image.width) * image.height * image.channels;
        bool consistent = (image.channels == 3 || image.channels == 4) && image.pixels.size() == expected;
        if (!consistent) {
            std::abort();
        }
    } else if (error.empty() || !image.pixels.empty()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckDecoding(data, size);
    std::vector<std::uint8_t> repaired = WithRightChecksums(data, size);
    CheckDecoding(repaired.data(), repaired.size());
    return 0;
}
