// The game's one way to its data: a directory or a zip pack beside the executable, chosen by
// UseDirectory or UsePackFile. Owns the open pack reader and the list of the source's files;
// every Open hands out an independent in-memory file.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "IFileSystem.h"
#include "filesystem/k_PackReader.h"

class IEngine;

class k_FileSystem : public IFileSystem {
public:
    // Finds its data beside the running executable.
    explicit k_FileSystem(IEngine* engine);
    // Finds its data in programDirectory (for tests and tools).
    k_FileSystem(IEngine* engine, const std::wstring& programDirectory);

    void UseDirectory(const std::wstring& name) override;
    void UsePackFile(const std::wstring& name) override;
    void Reload() override;
    std::unique_ptr<IFile> Open(const std::wstring& name) override;
    std::vector<std::wstring> ListFiles(const std::wstring& prefix) override;

private:
    std::unique_ptr<IFile> OpenFromPack(const std::wstring& name);
    std::unique_ptr<IFile> OpenFromDirectory(const std::wstring& name);

    [[maybe_unused]] IEngine* engine;
    bool packMode = false;
    std::unique_ptr<k_PackReader> pack;
    std::wstring sourceName;
    std::vector<std::wstring> fileList;
    std::filesystem::path dataDirectory;
    std::filesystem::path programDirectory;
};
