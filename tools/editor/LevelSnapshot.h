// A copy of everything the level file holds (worlds, screens, records, which world is active),
// taken from a live universe as the same description the level reader makes, and put back into
// it. The editor's undo steps are such copies: levels are small, and a whole copy can never miss
// a part of a change.
#pragma once

#include "IUniverse.h"
#include "world/LevelReader.h"

// Every world keeps its name, an empty one included.
LevelDescription TakeSnapshot(IUniverse& universe);

// Replaces the universe's worlds with the snapshot's and makes its active world current
// (which enters that world's first screen).
void RestoreSnapshot(IUniverse& universe, const LevelDescription& snapshot);

// The index of the universe's current world in its list; -1 when none is current.
int CurrentWorldIndex(IUniverse& universe);
