#include "world/TileKinds.h"

#include <map>
#include <sstream>

#include "WideText.h"

namespace {

// world/TileKinds.txt as the build wraps it: one kind a line, "#" lines are comments.
const char* const kTable =
#include "TileKindsText.inc"
    ;

const char* const kLooseBody = "loose";

std::map<std::wstring, TileKind> ReadTable() {
    std::map<std::wstring, TileKind> kinds;
    std::istringstream lines(kTable);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string word, type, body;
        TileKind kind;
        if (line.empty() || line[0] == '#' || !(fields >> word >> type >> kind.depth >> body)) {
            continue;
        }
        kind.type = r_SpriteType::Parse(FromUtf8(type));
        kind.loose = body == kLooseBody;
        kinds[FromUtf8(word)] = kind;
    }
    return kinds;
}

// "tiles/spikes_down_32x16.png" -> "spikes".
std::wstring FirstWord(const std::wstring& tile) {
    std::size_t start = tile.find_last_of(L"/\\");
    start = start == std::wstring::npos ? 0 : start + 1;
    return tile.substr(start, tile.find_first_of(L"_.", start) - start);
}

}  // namespace

TileKind TileKindOf(const std::wstring& tile) {
    static const std::map<std::wstring, TileKind> kinds = ReadTable();
    auto found = kinds.find(FirstWord(tile));
    return found == kinds.end() ? TileKind{} : found->second;
}
