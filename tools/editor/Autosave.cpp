#include "tools/editor/Autosave.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace {

constexpr double kDefaultIntervalSeconds = 60.0;
const char* const kIntervalVariable = "ROLLANDIA_EDITOR_AUTOSAVE_SECONDS";

}  // namespace

std::filesystem::path AutosavePath(const std::filesystem::path& levelPath) {
    std::filesystem::path path = levelPath;
    return path.replace_filename(levelPath.stem().string() + ".autosave.xml");
}

bool HasNewerAutosave(const std::filesystem::path& levelPath) {
    std::error_code error;
    auto autosaveTime = std::filesystem::last_write_time(AutosavePath(levelPath), error);
    if (error) {
        return false;
    }
    auto levelTime = std::filesystem::last_write_time(levelPath, error);
    return error || autosaveTime > levelTime;
}

double AutosaveIntervalSeconds() {
    const char* text = std::getenv(kIntervalVariable);
    if (!text) {
        return kDefaultIntervalSeconds;
    }
    char* end = nullptr;
    long seconds = std::strtol(text, &end, 10);
    return (end != text && *end == '\0' && seconds > 0) ? static_cast<double>(seconds) : kDefaultIntervalSeconds;
}

std::optional<std::filesystem::path> KeepCommentedOriginal(const std::filesystem::path& levelPath) {
    std::filesystem::path copy = levelPath;
    copy.replace_extension(".with-comments.xml");
    std::error_code error;
    if (std::filesystem::exists(copy, error)) {
        return std::nullopt;
    }
    std::ifstream level(levelPath, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(level)), std::istreambuf_iterator<char>());
    if (text.find("<!--") == std::string::npos ||
        !std::filesystem::copy_file(levelPath, copy, std::filesystem::copy_options::none, error)) {
        return std::nullopt;
    }
    return copy;
}
