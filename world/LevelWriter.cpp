#include "world/LevelWriter.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include "Failure.h"
#include "IScreen.h"
#include "IWorld.h"
#include "WideText.h"
#include "base/AtomicFile.h"

namespace {

using namespace std::string_view_literals;

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"sv;
constexpr std::string_view kUniverseOpen = "<universe>\n"sv;
constexpr std::string_view kUniverseClose = "</universe>\n"sv;
constexpr std::string_view kWorldOpen = "\t<world name=\""sv;
constexpr std::string_view kWorldActive = "\" active=\""sv;
constexpr std::string_view kWorldMusic = "\" music=\""sv;
constexpr std::string_view kTagEnd = "\">\n"sv;
constexpr std::string_view kWorldClose = "\t</world>\n"sv;
constexpr std::string_view kScreenOpen = "\t\t<screen x=\""sv;
constexpr std::string_view kScreenY = "\" y=\""sv;
constexpr std::string_view kScreenGoal = "\" goal=\"1"sv;
constexpr std::string_view kScreenCheckpoint = "\" checkpoint=\"1"sv;
constexpr std::string_view kScreenClose = "\t\t</screen>\n"sv;
constexpr std::string_view kSpriteType = "\t\t\t<sprite type=\""sv;
constexpr std::string_view kSpriteTexture = "\" texture=\""sv;
constexpr std::string_view kSpriteTop = "\" top=\""sv;
constexpr std::string_view kSpriteLeft = "\" left=\""sv;
constexpr std::string_view kSpriteDepth = "\" depth=\""sv;
constexpr std::string_view kSpriteStatic = "\" static=\""sv;
constexpr std::string_view kSpriteSpecial = "\" special=\""sv;
constexpr std::string_view kSpriteEnd = "\" />\n"sv;

const wchar_t* const kFailurePrefix = L"Cannot save the level: ";
constexpr std::size_t kMaxIntegerCharacters = 20;
// A sprite's line with a texture name of a usual length.
constexpr std::size_t kExpectedSpriteBytes = 160;
constexpr char32_t kFirstAsciiExcluded = 0x80;
constexpr char32_t kFirstXmlCharacter = 0x20;
constexpr char32_t kNonCharacterFFFE = 0xFFFE;
constexpr char32_t kNonCharacterFFFF = 0xFFFF;

// Truncates toward zero; values beyond the 32-bit range saturate and a value that is not a
// number is written as 0, so that the file always reads back.
std::int32_t Truncated(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double truncated = std::trunc(static_cast<double>(value));
    if (truncated <= std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (truncated >= std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(truncated);
}

// The escape of a character in an attribute value, or an empty view when it is written as it
// is. Tab, line feed and carriage return are written as references because the reader would
// otherwise turn them into spaces.
std::string_view Escape(wchar_t c) {
    switch (c) {
        case L'&': return "&amp;"sv;
        case L'<': return "&lt;"sv;
        case L'>': return "&gt;"sv;
        case L'"': return "&quot;"sv;
        case L'\t': return "&#9;"sv;
        case L'\n': return "&#10;"sv;
        case L'\r': return "&#13;"sv;
        default: return {};
    }
}

bool IsPlainAscii(wchar_t c) {
    const auto code = static_cast<char32_t>(c);
    return code >= kFirstXmlCharacter && code < kFirstAsciiExcluded && c != L'&' && c != L'<' && c != L'>' &&
           c != L'"';
}

// XML 1.0 has no way at all to hold other control characters and the two non-characters.
bool IsWritable(wchar_t c) {
    const auto code = static_cast<char32_t>(c);
    if (code < kFirstXmlCharacter) {
        return !Escape(c).empty();
    }
    return code != kNonCharacterFFFE && code != kNonCharacterFFFF;
}

// The level's text, put together in memory: a level is small, and a save that fails while
// formatting then leaves no file behind at all.
class LevelText {
public:
    explicit LevelText(std::size_t expectedBytes) { text.reserve(expectedBytes); }

    void Put(std::string_view piece) { text.append(piece); }

    void PutInteger(std::int64_t value) {
        char digits[kMaxIntegerCharacters];
        char* end = std::to_chars(digits, digits + sizeof(digits), value).ptr;
        text.append(digits, end);
    }

    void PutFlag(bool flag) { Put(flag ? "1"sv : "0"sv); }

    // A text value as escaped UTF-8.
    void PutText(const std::wstring& value) {
        for (wchar_t c : value) {
            if (IsPlainAscii(c)) {
                text.push_back(static_cast<char>(c));
            } else {
                PutSpecial(c, value);
            }
        }
    }

    std::string Take() { return std::move(text); }

private:
    void PutSpecial(wchar_t c, const std::wstring& value) {
        if (!IsWritable(c)) {
            throw k_Failure(kFailurePrefix + std::wstring(L"the text \"") + value +
                            L"\" holds a character that a level file cannot hold");
        }
        std::string_view escape = Escape(c);
        if (!escape.empty()) {
            Put(escape);
        } else {
            Put(ToUtf8(std::wstring(1, c)));
        }
    }

    std::string text;
};

// The text forms of the types, made once per level; a value outside them raises the type's
// own failure.
class TypeTexts {
public:
    TypeTexts() {
        for (std::int32_t value = r_SpriteType::SolidSphere; value <= r_SpriteType::Door; ++value) {
            texts[value] = ToUtf8(r_SpriteType::ToString(value));
        }
    }

    std::string_view Of(std::int32_t value) const {
        if (value < r_SpriteType::SolidSphere || value > r_SpriteType::Door) {
            r_SpriteType::ToString(value);
        }
        return texts[value];
    }

private:
    std::string texts[r_SpriteType::Door + 1];
};

void PutRecord(LevelText& out, const SpriteData& record, const TypeTexts& types) {
    out.Put(kSpriteType);
    out.Put(types.Of(record.type));
    out.Put(kSpriteTexture);
    out.PutText(record.texture);
    out.Put(kSpriteTop);
    out.PutInteger(Truncated(record.top));
    out.Put(kSpriteLeft);
    out.PutInteger(Truncated(record.left));
    out.Put(kSpriteDepth);
    out.PutInteger(record.depth);
    out.Put(kSpriteStatic);
    out.PutFlag(record.isStatic);
    out.Put(kSpriteSpecial);
    out.PutFlag(record.special);
    out.Put(kSpriteEnd);
}

void PutScreen(LevelText& out, IScreen& screen, const TypeTexts& types) {
    out.Put(kScreenOpen);
    out.PutInteger(screen.GetX());
    out.Put(kScreenY);
    out.PutInteger(screen.GetY());
    // Written only when set, so that a level without them keeps its bytes.
    if (screen.IsGoal()) {
        out.Put(kScreenGoal);
    }
    if (screen.IsCheckpoint()) {
        out.Put(kScreenCheckpoint);
    }
    out.Put(kTagEnd);
    for (const SpriteData& record : screen.GetSpriteData()) {
        PutRecord(out, record, types);
    }
    out.Put(kScreenClose);
}

void PutWorld(LevelText& out, IWorld& world, bool current, const TypeTexts& types) {
    out.Put(kWorldOpen);
    out.PutText(world.GetName());
    out.Put(kWorldActive);
    out.PutFlag(current);
    const std::wstring music = world.GetMusic();
    if (!music.empty()) {
        out.Put(kWorldMusic);
        out.PutText(music);
    }
    out.Put(kTagEnd);
    for (auto& screen : world.GetScreens()) {
        PutScreen(out, *screen, types);
    }
    out.Put(kWorldClose);
}

// Room for the whole text at once: growing it step by step would copy it several times.
std::size_t ExpectedBytes(IUniverse& universe) {
    std::size_t sprites = 0;
    for (auto& world : universe.GetWorlds()) {
        for (auto& screen : world->GetScreens()) {
            sprites += screen->GetSpriteData().size();
        }
    }
    return sprites * kExpectedSpriteBytes;
}

}  // namespace

std::string FormatLevel(IUniverse& universe) {
    const TypeTexts types;
    LevelText out(ExpectedBytes(universe));
    out.Put(kDeclaration);
    out.Put(kUniverseOpen);
    IWorld* current = universe.GetCurrentWorld();
    for (auto& world : universe.GetWorlds()) {
        PutWorld(out, *world, world.get() == current, types);
    }
    out.Put(kUniverseClose);
    return out.Take();
}

void SaveLevelFile(const std::wstring& path, IUniverse& universe) {
    WriteFileAtomically(ToUtf8(path), FormatLevel(universe), kFailurePrefix, path);
}
