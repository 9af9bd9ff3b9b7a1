// Reading the level file: the XML text of a universe is parsed and checked completely into a
// plain description of its worlds, screens and sprite records (the one description of a level:
// the editor's undo steps are copies of it too). Nothing else is touched, so a
// bad file costs nothing; every failure is a k_Failure naming the source and the place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SpriteData.h"

struct LevelScreen {
    int x = 0;
    int y = 0;
    std::vector<SpriteData> records;
    bool goal = false;        // reaching the screen finishes the world
    bool checkpoint = false;  // after a death the ball starts again here
};

struct LevelWorld {
    std::optional<std::wstring> name;  // absent when the file gives the world no name
    std::vector<LevelScreen> screens;
    std::wstring music;  // the world's own music module; empty for the game's usual one
};

struct LevelDescription {
    std::vector<LevelWorld> worlds;
    int activeWorld = -1;  // index of the last world marked active, -1 when none is
};

// Reads the level file at path (relative to the current directory).
LevelDescription ReadLevelFile(const std::wstring& path);

// Reads a level from bytes in memory; name stands for the source in failure messages.
LevelDescription ReadLevel(const std::uint8_t* bytes, std::size_t size, const std::wstring& name);
