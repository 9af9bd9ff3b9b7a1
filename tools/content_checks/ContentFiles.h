// Finding the game's content in the source tree, running the tools that make it and decoding
// its pictures, for the content tests. Pictures are decoded with libpng's simplified reader
// into 8-bit RGBA, top row first.
#pragma once

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace content {

std::filesystem::path SourcePath(const std::string& relative);
std::filesystem::path DataPath(const std::string& name);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);

// The files under folder as "/"-separated names relative to it, those with the given ending
// only; hidden files are left out, as the pack leaves them out.
std::set<std::string> FilesUnder(const std::filesystem::path& folder, const std::string& ending = "");

// A path in single quotes for the shell.
std::string Quoted(const std::filesystem::path& path);

// Runs a shell command with its output discarded; true when it exits with status 0.
bool Succeeds(const std::string& command);

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

}  // namespace content
