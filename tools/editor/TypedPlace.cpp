#include "tools/editor/TypedPlace.h"

#include <cwchar>
#include <sstream>
#include <vector>

#include "platform/VirtualKeys.h"

namespace {

// Places beyond this many pixels from the screen are typing mistakes; depths are small layers.
constexpr long kFarthestPlace = 100000;
constexpr long kDeepestLayer = 1000;

bool WholeNumber(const std::wstring& word, long limit, long& value) {
    wchar_t* end = nullptr;
    value = std::wcstol(word.c_str(), &end, 10);
    return !word.empty() && *end == L'\0' && value >= -limit && value <= limit;
}

}  // namespace

std::wstring TypedPlaceOf(const SpriteData& record) {
    return std::to_wstring(static_cast<long>(record.left)) + L" " + std::to_wstring(static_cast<long>(record.top)) +
           L" " + std::to_wstring(record.depth);
}

bool ApplyTypedPlace(const std::wstring& text, SpriteData& record) {
    std::wistringstream words(text);
    std::vector<std::wstring> parts;
    for (std::wstring word; words >> word;) {
        parts.push_back(word);
    }
    long left = 0;
    long top = 0;
    long depth = 0;
    if (parts.size() != 3 || !WholeNumber(parts[0], kFarthestPlace, left) ||
        !WholeNumber(parts[1], kFarthestPlace, top) || !WholeNumber(parts[2], kDeepestLayer, depth)) {
        return false;
    }
    record.left = static_cast<float>(left);
    record.top = static_cast<float>(top);
    record.depth = static_cast<int>(depth);
    return true;
}

bool TypedPlaceCharacter(int key, wchar_t& character) {
    if (key >= '0' && key <= '9') {
        character = static_cast<wchar_t>(key);
    } else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) {
        character = static_cast<wchar_t>(L'0' + key - VK_NUMPAD0);
    } else if (key == VK_OEM_MINUS || key == VK_SUBTRACT) {
        character = L'-';
    } else if (key == VK_SPACE) {
        character = L' ';
    } else {
        return false;
    }
    return true;
}
