// The game's one way to its data: a directory or a zip pack, found beside the executable, in
// the install's shared data or where the player points, chosen by UseDirectory or UsePackFile. Owns the open pack reader and the list of the source's files;
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

    // Chooses the source: the pack when forced; otherwise the data folder when it is there,
    // else the pack when it is there, else the (missing) data folder.
    void UseDataSource(const std::wstring& directoryName, const std::wstring& packName, bool forcePack);
    // Chooses the first of places (folders or pack files, relative ones taken from the program
    // directory) that is there; with forcePack only a pack counts. When none is, the first
    // fitting place is used and every read failure names all of them.
    void UseFirstDataSource(const std::vector<std::filesystem::path>& places, bool forcePack);
    // Where the game looks for its data, in order: the data folder and the pack beside the
    // executable, then the install's shared data folder; only chosenPlace when one is given.
    static std::vector<std::filesystem::path> GameDataPlaces(const std::filesystem::path& chosenPlace);
    // Why Open gives no file for name, with the full path of the folder or pack it looked in;
    // empty when the name opens.
    std::wstring ExplainOpenFailure(const std::wstring& name);

private:
    // Open, and when it fails and whyNot is given, the reason there.
    std::unique_ptr<IFile> OpenOrExplain(const std::wstring& name, std::wstring* whyNot);
    std::unique_ptr<IFile> OpenFromPack(const std::wstring& name, std::wstring* whyNot);
    std::unique_ptr<IFile> OpenFromDirectory(const std::wstring& name, std::wstring* whyNot);
    // Why the data folder itself cannot be read, or empty when it is a readable folder.
    std::wstring DataDirectoryProblem() const;
    // "no game data in any of: ..." when a search found none of its places, else empty.
    std::wstring NothingFoundProblem() const;
    // Why the pack at packPath did not open.
    static std::wstring PackProblem(const std::filesystem::path& packPath);

    [[maybe_unused]] IEngine* engine;
    bool packMode = false;
    std::unique_ptr<k_PackReader> pack;
    std::wstring packWhere;    // "the data pack <full path>" after UsePackFile
    std::wstring packFailure;  // why the pack did not open, when it did not
    std::wstring sourceName;
    std::vector<std::wstring> fileList;
    std::filesystem::path dataDirectory;
    std::filesystem::path programDirectory;
    std::vector<std::filesystem::path> searchedPlaces;  // set when a search found none of them
};
