// The level checker: reads a universe file without any display or engine, together with the
// PNG headers of the pictures in the file's folder, and describes in a level designer's words
// what will go wrong in the game: missing pictures, edges the ball falls out of, screens it
// can never reach, doors that open at once, sprites nobody sees.
#pragma once

#include <string>
#include <vector>

#include "tools/level_checker/LevelFinding.h"

// The findings about the universe file at path, in file order; each names the file and, where
// it applies, the world, the screen and the sprite. A file that does not load gives one
// finding holding the loader's message.
std::vector<LevelFinding> CheckLevel(const std::wstring& path);
