// A fresh directory under the system's temporary directory, removed with its content when the
// object goes; helpers write and read files in it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "WideText.h"

class TempDirectory {
public:
    TempDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rollandia-test-XXXXXX").string();
        path = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    std::string Path(const std::string& relative = "") const { return relative.empty() ? path : path + "/" + relative; }
    std::wstring WidePath(const std::string& relative = "") const { return FromUtf8(Path(relative)); }

    // Writes a file, creating its directories.
    void Write(const std::string& relative, const std::string& content) const {
        std::filesystem::path file = Path(relative);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
    }

    std::string Read(const std::string& relative) const {
        std::ifstream in(Path(relative), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::string path;
};
