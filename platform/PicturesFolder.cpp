#include "platform/PicturesFolder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// The folder the program was started in, taken before anything (loading a level) changes the
// current directory.
std::filesystem::path CurrentFolder() {
    std::error_code ignored;
    return std::filesystem::current_path(ignored);
}
const std::filesystem::path startFolder = CurrentFolder();

const char* const kPicturesKey = "XDG_PICTURES_DIR=";
const char* const kHomePrefix = "$HOME";
const char* const kUserDirsFile = "user-dirs.dirs";
const char* const kDefaultConfigFolder = ".config";
const char* const kDefaultPicturesFolder = "Pictures";
const char* const kNamePrefix = "Rollandia ";
const char* const kDateTimeFormat = "%Y-%m-%d %H-%M-%S";
constexpr std::size_t kDateTimeCapacity = 32;

std::string Trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t\r");
    std::size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The value of a shell-style assignment: quotes removed.
std::string Unquoted(const std::string& value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsFolder(const std::filesystem::path& path) {
    std::error_code ignored;
    return !path.empty() && std::filesystem::is_directory(path, ignored);
}

std::filesystem::path UserDirsFile(const std::filesystem::path& home) {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && *configHome == '/') {
        return std::filesystem::path(configHome) / kUserDirsFile;
    }
    return home / kDefaultConfigFolder / kUserDirsFile;
}

}  // namespace

std::optional<std::filesystem::path> PicturesFolderFromUserDirs(const std::string& userDirs,
                                                                const std::filesystem::path& home) {
    std::istringstream lines(userDirs);
    std::optional<std::filesystem::path> folder;
    for (std::string line; std::getline(lines, line);) {
        line = Trimmed(line);
        if (line.rfind(kPicturesKey, 0) != 0) {
            continue;
        }
        std::string value = Unquoted(line.substr(std::string(kPicturesKey).size()));
        if (value.rfind(kHomePrefix, 0) == 0) {
            std::string rest = value.substr(std::string(kHomePrefix).size());
            if (!rest.empty() && rest.front() != '/') {
                continue;  // "$HOMEWORK" is no folder under $HOME
            }
            folder = home / std::filesystem::path(rest).relative_path();
        } else if (!value.empty() && value.front() == '/') {
            folder = std::filesystem::path(value);
        }
    }
    return folder;
}

std::filesystem::path ScreenshotFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) {
        std::filesystem::path homeFolder(home);
        auto named = PicturesFolderFromUserDirs(ReadWholeFile(UserDirsFile(homeFolder)), homeFolder);
        if (named && IsFolder(*named)) {
            return *named;
        }
        if (IsFolder(homeFolder / kDefaultPicturesFolder)) {
            return homeFolder / kDefaultPicturesFolder;
        }
    }
    return startFolder;
}

std::string ScreenshotFileName(const std::tm& localTime, int attempt) {
    char dateTime[kDateTimeCapacity] = "";
    std::strftime(dateTime, sizeof dateTime, kDateTimeFormat, &localTime);
    std::string name = kNamePrefix + std::string(dateTime);
    if (attempt > 1) {
        name += " (" + std::to_string(attempt) + ")";
    }
    return name + ".png";
}
