// Reading a small file that the player keeps (settings, records, preferences) without ever
// waiting on a pipe or a device and without reading a damaged, huge file into memory: only a
// regular file of at most a given size is read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

enum class SmallFileProblem {
    None,        // read
    Missing,     // nothing there: usually the first run
    NotRegular,  // a folder, a pipe, a device
    TooLarge,    // larger than any such file
    Unreadable,  // there, but it cannot be opened or read
};

// Reads the whole file into text (left empty unless the answer is None).
SmallFileProblem ReadSmallFile(const std::filesystem::path& file, std::uintmax_t maxBytes, std::string& text);
