// The level checker: reads a universe file without any display or engine, together with the
// PNG headers of the pictures in the file's folder, and describes in a level designer's words
// what will go wrong in the game: missing pictures, edges the ball falls out of, screens it
// can never reach, doors that open at once, sprites nobody sees.
#pragma once

#include <string>
#include <vector>

// The findings about the universe file at path, one line each, in file order; each line names
// the file and, where it applies, the world (name and number), the screen (column, row) and
// the sprite (number and texture). Worlds and sprites are counted from 1. A file that does
// not load gives one line holding the loader's message. Warnings start with "warning: ".
std::vector<std::wstring> CheckLevel(const std::wstring& path);
