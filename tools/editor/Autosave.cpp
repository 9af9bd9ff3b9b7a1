#include "tools/editor/Autosave.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "base/AtomicFile.h"

namespace {

constexpr double kDefaultIntervalSeconds = 60.0;
const char* const kIntervalVariable = "ROLLANDIA_EDITOR_AUTOSAVE_SECONDS";
const char* const kAutosaveSuffix = ".autosave.xml";
const char* const kCommentsSuffix = ".with-comments.xml";

// The whole file name goes into the spare copy's name, so that "a.xml" and "a.txt" in one
// folder never share one.
std::filesystem::path SpareCopyPath(const std::filesystem::path& levelPath, const char* suffix) {
    std::filesystem::path path = levelPath;
    return path.replace_filename(levelPath.filename().string() + suffix);
}

std::string FileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

}  // namespace

std::filesystem::path AutosavePath(const std::filesystem::path& levelPath) {
    return SpareCopyPath(levelPath, kAutosaveSuffix);
}

bool HasNewerAutosave(const std::filesystem::path& autosave, const std::filesystem::path& levelPath) {
    std::error_code error;
    auto autosaveTime = std::filesystem::last_write_time(autosave, error);
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

// A copy is only ever complete: it is written atomically, and an empty one (what an older
// editor left after a failed copy) does not count, so it is made again.
std::optional<std::filesystem::path> KeepCommentedOriginal(const std::filesystem::path& levelPath) {
    const std::filesystem::path copy = SpareCopyPath(levelPath, kCommentsSuffix);
    std::error_code error;
    const auto copySize = std::filesystem::file_size(copy, error);
    if (!error && copySize > 0) {
        return std::nullopt;
    }
    const std::string text = FileText(levelPath);
    if (text.find("<!--") == std::string::npos) {
        return std::nullopt;
    }
    WriteFileAtomically(copy, text, L"Not saved: the copy that keeps the comments of ",
                        levelPath.filename().wstring() + L" cannot be written as " + copy.wstring());
    return copy;
}
