#include "base/UserFolders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace {

const char* const kApplicationFolder = "rollandia";

// The base named by the variable when it is an absolute path (the XDG rule: a relative value
// is ignored), else the default below the home folder (or the current folder without a home).
std::filesystem::path BaseFolder(const char* variable, const char* defaultUnderHome) {
    const char* value = std::getenv(variable);
    if (value && *value == '/') {
        return value;
    }
    const char* home = std::getenv("HOME");
    std::filesystem::path base = home && *home ? std::filesystem::path(home) : std::filesystem::current_path();
    return base / defaultUnderHome;
}

}  // namespace

std::filesystem::path UserConfigFolder() { return BaseFolder("XDG_CONFIG_HOME", ".config") / kApplicationFolder; }

std::filesystem::path UserDataFolder() { return BaseFolder("XDG_DATA_HOME", ".local/share") / kApplicationFolder; }

std::filesystem::path UserStateFolder() { return BaseFolder("XDG_STATE_HOME", ".local/state") / kApplicationFolder; }

bool MakeUserFolder(const std::filesystem::path& folder) {
    // Each missing folder is made on its own, readable by the user only, as XDG folders are.
    std::filesystem::path partial;
    for (const auto& component : folder) {
        partial /= component;
        if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    std::error_code error;
    return std::filesystem::is_directory(folder, error);
}
