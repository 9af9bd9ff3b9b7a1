// One interface over the game's data: a directory or a zip pack beside the executable.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "IFile.h"

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    virtual void UseDirectory(const std::wstring& name) = 0;
    virtual void UsePackFile(const std::wstring& name) = 0;
    virtual void Reload() = 0;
    // The whole named file in memory, or null when there is no such file.
    virtual std::unique_ptr<IFile> Open(const std::wstring& name) = 0;
    // Every listed name ("/dir/file") that begins with prefix, with the prefix cut off.
    virtual std::vector<std::wstring> ListFiles(const std::wstring& prefix) = 0;
};
