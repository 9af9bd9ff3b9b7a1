#include "tools/editor/TileDefaults.h"

#include "world/TileKinds.h"

void ApplyTileDefaults(const std::wstring& tile, SpriteData& record) {
    const TileKind kind = TileKindOf(tile);
    record.type = kind.type;
    record.depth = kind.depth;
    record.isStatic = !kind.loose;
}
