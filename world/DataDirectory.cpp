#include "world/DataDirectory.h"

#include <filesystem>
#include <system_error>

namespace {

const char* const kExecutableLink = "/proc/self/exe";
const char* const kDataDirectoryName = "data";

}  // namespace

void EnterDataDirectory() {
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink(kExecutableLink, error);
    if (error) {
        return;
    }
    std::filesystem::path data = executable.parent_path() / kDataDirectoryName;
    if (std::filesystem::is_directory(data, error)) {
        std::filesystem::current_path(data, error);
    }
}
