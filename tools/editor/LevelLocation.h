// Where the editor finds and keeps levels: the game's own level when none is named, whether a
// level may be written where it lies, and where a copy of one that may not goes.
#pragma once

#include <filesystem>
#include <string>

// The game's own level: universe.xml in the data folder beside the executable when there is
// one (a build), else in the install's shared data.
std::filesystem::path DefaultLevelPath(const std::filesystem::path& programDirectory);

// Why the level may not be written where it lies (it is part of the installed game's data, or
// the user may not write it or its folder), or empty when it may.
std::wstring WhyLevelIsReadOnly(const std::filesystem::path& level, const std::filesystem::path& programDirectory);

// Where a copy of a level that may not be written goes: the user's data folder, same name.
std::filesystem::path UserCopyPath(const std::filesystem::path& level);
