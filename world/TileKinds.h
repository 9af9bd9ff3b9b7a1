// What a tile picture of the data is meant to be, by the first word of its name ("spikes" for
// "tiles/spikes_down_32x16.png"): the sprite type of a piece showing it, the depth it is
// placed at and whether it is loose. The table is world/TileKinds.txt, compiled in; the
// picture maker (tools/make_pictures.py) lists each picture's sprite type from the same file.
#pragma once

#include <string>

#include "SpriteData.h"

struct TileKind {
    static constexpr int kPieceDepth = 10;  // under the ball's 100

    r_SpriteType::Value type = r_SpriteType::SolidCube;
    int depth = kPieceDepth;
    bool loose = false;
};

// The kind of the tile picture named as a sprite's texture names it ("/" or "\" separators);
// a name the table does not know is a fixed SolidCube at the pieces' depth.
TileKind TileKindOf(const std::wstring& tile);
