#include "tools/editor/LevelLocation.h"

#include <unistd.h>

#include <system_error>

#include "base/UserFolders.h"

namespace fs = std::filesystem;

namespace {

const char* const kLevelName = "universe.xml";
const char* const kBuildDataFolder = "data";
const char* const kInstalledDataFolder = "../share/rollandia";

fs::path Resolved(const fs::path& path) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(path, error);
    return error ? path.lexically_normal() : resolved;
}

bool IsInside(const fs::path& path, const fs::path& folder) {
    const fs::path relative = Resolved(path).lexically_relative(Resolved(folder));
    return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

fs::path DefaultLevelPath(const fs::path& programDirectory) {
    std::error_code error;
    if (fs::is_directory(programDirectory / kBuildDataFolder, error)) {
        return programDirectory / kBuildDataFolder / kLevelName;
    }
    return (programDirectory / kInstalledDataFolder / kLevelName).lexically_normal();
}

std::wstring WhyLevelIsReadOnly(const fs::path& level, const fs::path& programDirectory) {
    if (IsInside(level, programDirectory / kInstalledDataFolder)) {
        return L"it is part of the installed game's data";
    }
    std::error_code error;
    if (fs::exists(level, error) && ::access(level.c_str(), W_OK) != 0) {
        return L"you may not write it";
    }
    if (::access(level.parent_path().c_str(), W_OK) != 0) {
        return L"you may not write its folder";
    }
    return {};
}

fs::path UserCopyPath(const fs::path& level) { return UserDataFolder() / level.filename(); }
