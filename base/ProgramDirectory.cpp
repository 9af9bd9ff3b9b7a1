#include "base/ProgramDirectory.h"

#include <system_error>

std::filesystem::path ProgramDirectory() {
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}
