// One thing the level checker found, with the place it concerns as fields (so that a tool can go
// there) and the line check_level prints for it.
#pragma once

#include <optional>
#include <string>

#include "world/ScreenSlot.h"

enum class FindingSeverity { Error, Warning };

struct FindingWorld {
    std::size_t index = 0;             // counted from 0 in the file's order
    std::optional<std::wstring> name;  // absent when the file gives the world no name
};

struct FindingSprite {
    std::size_t index = 0;  // counted from 0 in the screen's order
    std::wstring texture;
};

struct LevelFinding {
    std::wstring file;
    std::optional<FindingWorld> world;
    std::optional<ScreenSlot> screen;    // only with a world
    std::optional<FindingSprite> sprite;  // only with a screen
    FindingSeverity severity = FindingSeverity::Error;
    std::wstring text;
};

// The finding in a level designer's words: the file, the world (name and number), the screen
// (column, row) and the sprite (number and texture) where they apply, then what is wrong.
// Worlds and sprites are counted from 1; warnings say so first.
std::wstring FindingLine(const LevelFinding& finding);
