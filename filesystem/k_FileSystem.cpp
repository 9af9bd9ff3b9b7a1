#include "filesystem/k_FileSystem.h"

#include <algorithm>
#include <iostream>

#include "WideText.h"
#include "filesystem/DataDirectory.h"
#include "filesystem/k_File.h"
#include "platform/ProgramDirectory.h"

namespace fs = std::filesystem;

namespace {

// A data name as a relative "/"-separated path, or empty when it could reach outside the
// data root (an absolute path, a parent-directory step) or is no usable name.
std::string RelativeDataPath(const std::wstring& name) {
    std::string relative = ToUtf8(name);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (relative.empty() || relative.front() == '/' || relative.find('\0') != std::string::npos) {
        return {};
    }
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = std::min(relative.find('/', start), relative.size());
        if (relative.compare(start, end - start, "..") == 0) {
            return {};
        }
        start = end + 1;
    }
    return relative;
}

}  // namespace

k_FileSystem::k_FileSystem(IEngine* engine) : engine(engine), programDirectory(ProgramDirectory()) {}

k_FileSystem::k_FileSystem(IEngine* engine, const std::wstring& programDirectory)
    : engine(engine), programDirectory(ToUtf8(programDirectory)) {}

void k_FileSystem::UseDirectory(const std::wstring& name) {
    sourceName = name;
    fileList.clear();
    std::cout << "Initializing file system with data directory: " << ToUtf8(name) << std::endl;
    pack.reset();
    packMode = false;
    dataDirectory = programDirectory / ToUtf8(name);
    fileList = ListDataFiles(dataDirectory);
}

void k_FileSystem::UsePackFile(const std::wstring& name) {
    sourceName = name;
    fileList.clear();
    std::cout << "Initializing file system with data file: " << ToUtf8(name) << std::endl;
    pack.reset();
    packMode = true;
    fs::path packPath = programDirectory / ToUtf8(name);
    if (FitsPathBuffer(packPath)) {
        pack = k_PackReader::OpenPack(FromUtf8(packPath.string()));
    }
    if (!pack) {
        std::cout << "FAILED!" << std::endl;
        return;
    }
    for (std::int32_t index = 0; index < pack->GetEntryCount(); ++index) {
        PackEntry entry;
        if (pack->GetEntry(index, entry) == PackResult::Success && !(entry.attributes & PackAttributeDirectory)) {
            fileList.push_back(L"/" + entry.name);
        }
    }
}

void k_FileSystem::Reload() {
    std::wstring name = sourceName;
    if (packMode) {
        UsePackFile(name);
    } else {
        UseDirectory(name);
    }
}

std::unique_ptr<IFile> k_FileSystem::Open(const std::wstring& name) {
    if (name.empty()) {
        return nullptr;
    }
    return packMode ? OpenFromPack(name) : OpenFromDirectory(name);
}

std::unique_ptr<IFile> k_FileSystem::OpenFromPack(const std::wstring& name) {
    if (!pack) {
        return nullptr;
    }
    PackEntry entry;
    std::int32_t index = pack->FindEntry(name, entry);
    std::unique_ptr<std::uint8_t[]> content;
    std::uint32_t size = 0;
    if (index < 0 || pack->ReadEntry(index, content, size) != PackResult::Success) {
        return nullptr;
    }
    return std::make_unique<k_File>(std::move(content), size);
}

std::unique_ptr<IFile> k_FileSystem::OpenFromDirectory(const std::wstring& name) {
    std::string relative = RelativeDataPath(name);
    if (relative.empty() || !FitsPathBuffer(dataDirectory / relative)) {
        return nullptr;
    }
    std::optional<fs::path> path = FindDataPath(dataDirectory, relative);
    std::unique_ptr<std::uint8_t[]> content;
    std::uint32_t size = 0;
    if (!path || !ReadDiskFile(*path, content, size)) {
        return nullptr;
    }
    return std::make_unique<k_File>(std::move(content), size);
}

std::vector<std::wstring> k_FileSystem::ListFiles(const std::wstring& prefix) {
    std::vector<std::wstring> found;
    for (const std::wstring& entry : fileList) {
        if (entry.compare(0, prefix.size(), prefix) == 0) {
            found.push_back(entry.substr(prefix.size()));
        }
    }
    return found;
}
