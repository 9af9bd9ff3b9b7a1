#include "tools/level_checker/DataPictures.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <optional>

#include "WideText.h"
#include "filesystem/DataFolderListing.h"

namespace fs = std::filesystem;

namespace {

// A PNG file opens with its 8-byte signature and then the IHDR chunk: length, type, width,
// height, both big-endian.
constexpr std::array<std::uint8_t, 8> kPngSignature = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr std::size_t kChunkTypeOffset = 12;
constexpr std::size_t kWidthOffset = 16;
constexpr std::size_t kHeightOffset = 20;
constexpr std::size_t kHeaderBytes = 24;
constexpr std::uint32_t kMaxPngDimension = 0x7FFFFFFF;
const char* const kHeaderChunk = "IHDR";
const char* const kParentStep = "..";

std::uint32_t BigEndian(const std::array<std::uint8_t, kHeaderBytes>& bytes, std::size_t offset) {
    return std::uint32_t{bytes[offset]} << 24 | std::uint32_t{bytes[offset + 1]} << 16 |
           std::uint32_t{bytes[offset + 2]} << 8 | std::uint32_t{bytes[offset + 3]};
}

// The name as a relative "/"-separated data path, or nothing when the game would not open it.
std::optional<std::string> RelativeName(const std::wstring& name) {
    std::string relative = ToUtf8(name);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (relative.empty() || relative.front() == '/' || relative.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    for (const fs::path& component : fs::path(relative)) {
        if (component == kParentStep) {
            return std::nullopt;
        }
    }
    return relative;
}

PictureLookup ReadHeader(const fs::path& path) {
    std::array<std::uint8_t, kHeaderBytes> bytes{};
    std::ifstream file(path, std::ios::binary);
    file.read(reinterpret_cast<char*>(bytes.data()), bytes.size());
    PictureLookup picture;
    picture.result = PictureLookup::NotPng;
    const bool headerRead = file.gcount() == static_cast<std::streamsize>(bytes.size());
    if (!headerRead || !std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin()) ||
        !std::equal(kHeaderChunk, kHeaderChunk + 4, bytes.begin() + kChunkTypeOffset)) {
        return picture;
    }
    const std::uint32_t width = BigEndian(bytes, kWidthOffset);
    const std::uint32_t height = BigEndian(bytes, kHeightOffset);
    if (width == 0 || height == 0 || width > kMaxPngDimension || height > kMaxPngDimension) {
        return picture;
    }
    picture.result = PictureLookup::Found;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    return picture;
}

}  // namespace

DataPictures::DataPictures(fs::path folder) : folder(std::move(folder)) {}

PictureLookup DataPictures::Find(const std::wstring& name) const {
    std::optional<std::string> relative = RelativeName(name);
    if (!relative || DataNameLength(*relative) > kMaxDataNameLength) {
        return {};
    }
    std::optional<fs::path> path = FindDataPath(folder, *relative);
    std::error_code error;
    if (!path || !fs::is_regular_file(*path, error)) {
        return {};
    }
    return ReadHeader(*path);
}
