#include "tools/editor/Autosave.h"

#include <cstdlib>
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
