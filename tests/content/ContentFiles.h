// Finding the game's content in the source tree and decoding its pictures, for the content
// tests. Pictures are decoded with libpng's simplified reader into 8-bit RGBA, top row first.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace content {

std::filesystem::path SourcePath(const std::string& relative);
std::filesystem::path DataPath(const std::string& name);

struct Picture {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;   // the file itself stores an alpha channel
    bool isColour = false;
    std::vector<std::uint8_t> rgba;   // width * height * 4 bytes, top row first
    std::string error;       // empty when the decode succeeded

    std::uint8_t Alpha(int x, int y) const { return rgba[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
};

Picture ReadPicture(const std::filesystem::path& path);
bool WritePicture(const std::filesystem::path& path, int width, int height, const std::vector<std::uint8_t>& rgba);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);

}  // namespace content
