#include "world/LevelDirectory.h"

#include "base/ProgramDirectory.h"

#include <filesystem>
#include <system_error>

namespace {

const char* const kDataDirectoryName = "data";

}  // namespace

void EnterDataDirectory() {
    std::filesystem::path program = ProgramDirectory();
    if (program.empty()) {
        return;
    }
    std::error_code error;
    std::filesystem::path data = program / kDataDirectoryName;
    if (std::filesystem::is_directory(data, error)) {
        std::filesystem::current_path(data, error);
    }
}
