// A copy of everything the level file holds (worlds, screens, records, which world is active),
// taken from a live universe and put back into it. The editor's undo steps are such copies:
// levels are small, and a whole copy can never miss a part of a change.
#pragma once

#include <string>
#include <vector>

#include "IUniverse.h"
#include "SpriteData.h"

struct ScreenSnapshot {
    int x = 0;
    int y = 0;
    std::vector<SpriteData> records;
};

struct WorldSnapshot {
    std::wstring name;
    std::vector<ScreenSnapshot> screens;
};

struct UniverseSnapshot {
    std::vector<WorldSnapshot> worlds;
    int activeWorld = -1;  // index into worlds; -1 when no world is current
};

UniverseSnapshot TakeSnapshot(IUniverse& universe);

// Replaces the universe's worlds with the snapshot's and makes its active world current
// (which enters that world's first screen).
void RestoreSnapshot(IUniverse& universe, const UniverseSnapshot& snapshot);

// The index of the universe's current world in its list; -1 when none is current.
int CurrentWorldIndex(IUniverse& universe);
