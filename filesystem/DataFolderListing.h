// Reading the data directory on a file system where names are case-sensitive and only "/"
// separates: the sorted listing of its files, the case-forgiving lookup of a data name, and
// reading one disk file whole into memory. Owns nothing; never changes the current directory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A disk file larger than this is not loaded.
constexpr std::uint64_t kMaxDiskFileSize = std::uint64_t{1} << 30;
// Data names (paths inside the data folder or pack, without the leading "/") are held in buffers
// of this many wide characters, the terminating zero included. Where the folder itself lies
// does not count: the game may be unpacked as deep as the system allows.
constexpr std::size_t kPathBufferLength = 260;
constexpr std::size_t kMaxDataNameLength = kPathBufferLength - 1;

// The length of a data name in wide characters.
std::size_t DataNameLength(const std::string& relative);

// Every file under root as "/dir/name", depth-first, each directory's items sorted by name and a
// subdirectory's files standing where it is met. Directory links are followed, never in a cycle.
// Files whose data name is longer than kMaxDataNameLength are left out, each with a line on
// standard error.
std::vector<std::wstring> ListDataFiles(const std::filesystem::path& root);

// The disk path of a data name made of "/"-separated components ("\" already replaced), taking for
// each component with no exact match the entry of its directory that matches ignoring ASCII case
// (the first by name when several do). Empty when some component matches nothing.
std::optional<std::filesystem::path> FindDataPath(const std::filesystem::path& root, const std::string& relative);

// The whole content of a regular file in a new array of size + 1 bytes, or false when the path
// is no regular file, is larger than kMaxDiskFileSize or cannot be read completely; then whyNot,
// when given, tells which ("a folder rather than a file", "a link loop", ...).
bool ReadDiskFile(const std::filesystem::path& path, std::unique_ptr<std::uint8_t[]>& content, std::uint32_t& size,
                  std::string* whyNot = nullptr);
