// The directory that holds the running executable: the game finds its data beside it.
#pragma once

#include <filesystem>

// Empty when the system does not tell where the executable lies.
std::filesystem::path ProgramDirectory();
