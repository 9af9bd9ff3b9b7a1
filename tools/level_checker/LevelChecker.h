// The level checker: reads a universe file (or takes a level held in memory) without any display
// or engine, together with the PNG headers of its pictures, and describes in a level designer's
// words what will go wrong in the game: missing pictures, edges the ball falls out of, screens
// it can never reach, doors that open at once, sprites nobody sees.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/level_checker/LevelFinding.h"
#include "world/LevelReader.h"

// The findings about the universe file at path, in file order; each names the file and, where
// it applies, the world, the screen and the sprite. A file that does not load gives one
// finding holding the loader's message.
std::vector<LevelFinding> CheckLevel(const std::wstring& path);

// The findings about a level held in memory (an editor's, before it is saved), with its
// pictures looked up in picturesFolder; each finding names the file as fileName.
std::vector<LevelFinding> CheckLevel(const LevelDescription& level, const std::filesystem::path& picturesFolder,
                                     const std::wstring& fileName);
