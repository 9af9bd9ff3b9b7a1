#include "tools/editor/TileDefaults.h"

#include <iterator>

namespace {

// Scenery sits on low depths, far things lowest; pieces share one depth under the ball (100).
constexpr int kSkyDepth = 0;
constexpr int kFarDepth = 1;
constexpr int kNearDepth = 3;
constexpr int kPieceDepth = 10;

struct TileKind {
    const wchar_t* what;  // the name's first word
    r_SpriteType::Value type;
    int depth;
    bool loose;
};

const TileKind kKinds[] = {
    {L"sky", r_SpriteType::Background, kSkyDepth, false},
    {L"cave", r_SpriteType::Background, kSkyDepth, false},
    {L"mountains", r_SpriteType::Background, kFarDepth, false},
    {L"hills", r_SpriteType::Background, kFarDepth, false},
    {L"sun", r_SpriteType::Background, kFarDepth, false},
    {L"cloud", r_SpriteType::Background, kFarDepth, false},
    {L"tree", r_SpriteType::Background, kNearDepth, false},
    {L"pine", r_SpriteType::Background, kNearDepth, false},
    {L"bush", r_SpriteType::Background, kNearDepth, false},
    {L"tuft", r_SpriteType::Background, kNearDepth, false},
    {L"flower", r_SpriteType::Background, kNearDepth, false},
    {L"sign", r_SpriteType::Background, kNearDepth, false},
    {L"banner", r_SpriteType::Background, kNearDepth, false},
    {L"cracked", r_SpriteType::Breakable, kPieceDepth, false},
    {L"glass", r_SpriteType::Breakable, kPieceDepth, false},
    {L"spikes", r_SpriteType::Dangerous, kPieceDepth, false},
    {L"saw", r_SpriteType::Dangerous, kPieceDepth, false},
    {L"lava", r_SpriteType::Dangerous, kPieceDepth, false},
    {L"door", r_SpriteType::Door, kPieceDepth, false},
    {L"crate", r_SpriteType::SolidCube, kPieceDepth, true},
    {L"boulder", r_SpriteType::SolidSphere, kPieceDepth, true},
};

// "tiles/spikes_down_32x16.png" -> "spikes".
std::wstring FirstWord(const std::wstring& tile) {
    std::size_t start = tile.find_last_of(L"/\\");
    start = start == std::wstring::npos ? 0 : start + 1;
    return tile.substr(start, tile.find_first_of(L"_.", start) - start);
}

}  // namespace

void ApplyTileDefaults(const std::wstring& tile, SpriteData& record) {
    const std::wstring what = FirstWord(tile);
    TileKind kind{L"", r_SpriteType::SolidCube, kPieceDepth, false};
    for (const TileKind& known : kKinds) {
        if (what == known.what) {
            kind = known;
        }
    }
    record.type = kind.type;
    record.depth = kind.depth;
    record.isStatic = !kind.loose;
}
