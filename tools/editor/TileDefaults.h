// What a new piece of a tile picture usually is: its type, depth and whether it is loose,
// judged from the picture's name (the tiles are named "<what>_<W>x<H>.png"; see
// tools/README.md). Choosing a tile in the palette starts from these settings, so a designer
// does not place a sky as a solid wall or spikes as scenery by accident.
#pragma once

#include <string>

#include "SpriteData.h"

// Sets type, depth and isStatic of the record for the tile; a name it does not know gives a
// static SolidCube at the pieces' depth.
void ApplyTileDefaults(const std::wstring& tile, SpriteData& record);
