#include "filesystem/k_FileSystem.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "WideText.h"
#include "filesystem/DataFolderListing.h"
#include "filesystem/k_File.h"
#include "base/ProgramDirectory.h"

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

std::unique_ptr<IFile> Refuse(std::wstring* whyNot, const std::wstring& reason) {
    if (whyNot != nullptr) {
        *whyNot = reason;
    }
    return nullptr;
}

std::wstring WidePath(const fs::path& path) { return FromUtf8(path.string()); }

// The installed game's data, relative to the folder of the installed executable.
const char* const kInstalledDataFolder = "../share/rollandia";
const char* const kDataFolderName = "data";
const char* const kDataPackName = "data.pak";

std::wstring DescribePackResult(PackResult result) {
    switch (result) {
    case PackResult::BadPassword:
        return L"encrypted";
    case PackResult::ReadError:
        return L"a read error";
    case PackResult::CorruptEntryHeader:
        return L"damaged entry header or size";
    default:
        return L"bad compressed data or checksum";
    }
}

}  // namespace

k_FileSystem::k_FileSystem(IEngine* engine) : engine(engine), programDirectory(ProgramDirectory()) {}

k_FileSystem::k_FileSystem(IEngine* engine, const std::wstring& programDirectory)
    : engine(engine), programDirectory(ToUtf8(programDirectory)) {}

void k_FileSystem::UseDirectory(const std::wstring& name) {
    sourceName = name;
    searchedPlaces.clear();
    fileList.clear();
    std::cout << "Initializing file system with data directory: " << ToUtf8(name) << std::endl;
    pack.reset();
    packMode = false;
    dataDirectory = programDirectory / ToUtf8(name);
    fileList = ListDataFiles(dataDirectory);
}

void k_FileSystem::UsePackFile(const std::wstring& name) {
    sourceName = name;
    searchedPlaces.clear();
    fileList.clear();
    std::cout << "Initializing file system with data file: " << ToUtf8(name) << std::endl;
    pack.reset();
    packMode = true;
    fs::path packPath = programDirectory / ToUtf8(name);
    packWhere = L"the data pack " + WidePath(packPath);
    packFailure.clear();
    pack = k_PackReader::OpenPack(WidePath(packPath));
    if (!pack) {
        packFailure = PackProblem(packPath);
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

void k_FileSystem::UseDataSource(const std::wstring& directoryName, const std::wstring& packName, bool forcePack) {
    UseFirstDataSource({ToUtf8(directoryName), ToUtf8(packName)}, forcePack);
}

void k_FileSystem::UseFirstDataSource(const std::vector<fs::path>& places, bool forcePack) {
    if (places.empty()) {
        return;
    }
    std::error_code error;
    for (const fs::path& place : places) {
        fs::path full = programDirectory / place;
        bool isFolder = fs::is_directory(full, error);
        if (!isFolder && fs::exists(full, error)) {
            UsePackFile(WidePath(place));
            return;
        }
        if (isFolder && !forcePack) {
            UseDirectory(WidePath(place));
            return;
        }
    }
    // Nothing there: the source stays the first place of the wanted kind, and its read
    // failures name every place looked in.
    auto wanted = std::find_if(places.begin(), places.end(),
                               [forcePack](const fs::path& place) { return forcePack == (place.extension() == ".pak"); });
    const fs::path& fallback = wanted != places.end() ? *wanted : places.front();
    forcePack || fallback.extension() == ".pak" ? UsePackFile(WidePath(fallback)) : UseDirectory(WidePath(fallback));
    for (const fs::path& place : places) {
        searchedPlaces.push_back((programDirectory / place).lexically_normal());
    }
}

std::vector<fs::path> k_FileSystem::GameDataPlaces(const fs::path& chosenPlace) {
    if (!chosenPlace.empty()) {
        std::error_code error;
        fs::path absolute = fs::absolute(chosenPlace, error);
        return {error ? chosenPlace : absolute};
    }
    return {kDataFolderName, kDataPackName, kInstalledDataFolder};
}

std::unique_ptr<IFile> k_FileSystem::Open(const std::wstring& name) { return OpenOrExplain(name, nullptr); }

std::wstring k_FileSystem::ExplainOpenFailure(const std::wstring& name) {
    std::wstring whyNot;
    OpenOrExplain(name, &whyNot);
    return whyNot;
}

std::unique_ptr<IFile> k_FileSystem::OpenOrExplain(const std::wstring& name, std::wstring* whyNot) {
    if (name.empty()) {
        return Refuse(whyNot, L"an empty name");
    }
    return packMode ? OpenFromPack(name, whyNot) : OpenFromDirectory(name, whyNot);
}

std::unique_ptr<IFile> k_FileSystem::OpenFromPack(const std::wstring& name, std::wstring* whyNot) {
    if (!pack) {
        std::wstring nothingFound = NothingFoundProblem();
        return Refuse(whyNot, nothingFound.empty() ? packFailure : nothingFound);
    }
    PackEntry entry;
    std::int32_t index = pack->FindEntry(name, entry);
    if (index < 0) {
        std::size_t bytes = ToUtf8(name).size();
        return Refuse(whyNot, bytes >= k_PackReader::kMaxNameBytes
                                  ? L"a name of " + std::to_wstring(bytes) + L" bytes; a pack name has at most " +
                                        std::to_wstring(k_PackReader::kMaxNameBytes - 1)
                                  : L"no such file in " + packWhere +
                                        (pack->IsDirectoryComplete() ? L"" : L", whose directory is damaged"));
    }
    std::unique_ptr<std::uint8_t[]> content;
    std::uint32_t size = 0;
    PackResult result = pack->ReadEntry(index, content, size);
    if (result != PackResult::Success) {
        return Refuse(whyNot, L"damaged in " + packWhere + L": " + DescribePackResult(result));
    }
    return std::make_unique<k_File>(std::move(content), size);
}

std::unique_ptr<IFile> k_FileSystem::OpenFromDirectory(const std::wstring& name, std::wstring* whyNot) {
    std::string relative = RelativeDataPath(name);
    if (relative.empty()) {
        return Refuse(whyNot, L"not a name inside the data folder " + WidePath(dataDirectory));
    }
    std::size_t length = DataNameLength(relative);
    if (length > kMaxDataNameLength) {
        return Refuse(whyNot, L"a name of " + std::to_wstring(length) + L" characters; a data name has at most " +
                                  std::to_wstring(kMaxDataNameLength));
    }
    std::optional<fs::path> path = FindDataPath(dataDirectory, relative);
    std::unique_ptr<std::uint8_t[]> content;
    std::uint32_t size = 0;
    std::string failure = "no such file";
    if (!path || !ReadDiskFile(*path, content, size, whyNot ? &failure : nullptr)) {
        std::wstring problem = whyNot ? DataDirectoryProblem() : std::wstring();
        return Refuse(whyNot, !problem.empty() ? problem
                                               : FromUtf8(failure) + L" in the data folder " + WidePath(dataDirectory));
    }
    return std::make_unique<k_File>(std::move(content), size);
}

std::wstring k_FileSystem::NothingFoundProblem() const {
    if (searchedPlaces.empty()) {
        return {};
    }
    std::wstring message = searchedPlaces.size() == 1 ? L"no game data at " : L"no game data in any of ";
    for (std::size_t index = 0; index < searchedPlaces.size(); ++index) {
        message += (index > 0 ? L", " : L"") + WidePath(searchedPlaces[index]);
    }
    return message;
}

std::wstring k_FileSystem::DataDirectoryProblem() const {
    std::wstring nothingFound = NothingFoundProblem();
    if (!nothingFound.empty()) {
        return nothingFound;
    }
    const std::wstring folder = L"the data folder " + WidePath(dataDirectory);
    if (dataDirectory.empty()) {
        return L"no data source chosen";
    }
    std::error_code error;
    fs::file_status status = fs::status(dataDirectory, error);
    if (status.type() == fs::file_type::not_found) {
        return folder + L" does not exist";
    }
    if (error) {
        return folder + L" cannot be reached: " + FromUtf8(error.message());
    }
    if (!fs::is_directory(status)) {
        return folder + L" is not a folder";
    }
    if (::access(dataDirectory.c_str(), R_OK | X_OK) != 0) {
        return folder + L" cannot be read: " + FromUtf8(std::strerror(errno));
    }
    return {};
}

std::wstring k_FileSystem::PackProblem(const fs::path& packPath) {
    std::error_code error;
    fs::file_status status = fs::status(packPath, error);
    const std::wstring where = WidePath(packPath);
    if (status.type() == fs::file_type::not_found) {
        return L"no data pack at " + where;
    }
    if (error) {
        return L"the data pack " + where + L" cannot be reached: " + FromUtf8(error.message());
    }
    if (fs::is_directory(status)) {
        return L"the data pack " + where + L" is a folder";
    }
    if (::access(packPath.c_str(), R_OK) != 0) {
        return L"the data pack " + where + L" cannot be read: " + FromUtf8(std::strerror(errno));
    }
    return L"the data pack " + where + L" is damaged: not a readable zip archive";
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
