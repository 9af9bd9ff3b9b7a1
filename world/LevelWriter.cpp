#include "world/LevelWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>

#include "Failure.h"
#include "IScreen.h"
#include "IWorld.h"
#include "WideText.h"

namespace {

const char* const kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
const char* const kUniverseOpen = "<universe>\n";
const char* const kUniverseClose = "</universe>\n";
const char* const kWorldOpen = "\t<world name=\"";
const char* const kWorldActive = "\" active=\"";
const char* const kTagEnd = "\">\n";
const char* const kWorldClose = "\t</world>\n";
const char* const kScreenOpen = "\t\t<screen x=\"";
const char* const kScreenY = "\" y=\"";
const char* const kScreenClose = "\t\t</screen>\n";
const char* const kSpriteType = "\t\t\t<sprite type=\"";
const char* const kSpriteTexture = "\" texture=\"";
const char* const kSpriteTop = "\" top=\"";
const char* const kSpriteLeft = "\" left=\"";
const char* const kSpriteDepth = "\" depth=\"";
const char* const kSpriteStatic = "\" static=\"";
const char* const kSpriteSpecial = "\" special=\"";
const char* const kSpriteEnd = "\" />\n";

const wchar_t* const kFailurePrefix = L"Cannot save the level: ";
const char* const kTemporarySuffix = ".XXXXXX";
constexpr mode_t kNewFileMode = 0666;
constexpr mode_t kPermissionBits = 07777;
constexpr std::size_t kMaxIntegerCharacters = 12;
constexpr char32_t kFirstAsciiExcluded = 0x80;
constexpr char32_t kFirstXmlCharacter = 0x20;
constexpr char32_t kNonCharacterFFFE = 0xFFFE;
constexpr char32_t kNonCharacterFFFF = 0xFFFF;

[[noreturn]] void Fail(const std::wstring& where, const std::wstring& what) {
    throw k_Failure(kFailurePrefix + where + L": " + what);
}

void AppendInteger(std::string& text, std::int64_t value) {
    char digits[kMaxIntegerCharacters + 8];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

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

// The escape of a character in an attribute value, or null when it is written as it is.
// Tab, line feed and carriage return are written as references because the reader would
// otherwise turn them into spaces.
const char* Escape(wchar_t c) {
    switch (c) {
        case L'&': return "&amp;";
        case L'<': return "&lt;";
        case L'>': return "&gt;";
        case L'"': return "&quot;";
        case L'\t': return "&#9;";
        case L'\n': return "&#10;";
        case L'\r': return "&#13;";
        default: return nullptr;
    }
}

// XML 1.0 has no way at all to hold other control characters and the two non-characters.
bool IsWritable(wchar_t c) {
    const auto code = static_cast<char32_t>(c);
    if (code < kFirstXmlCharacter) {
        return Escape(c) != nullptr;
    }
    return code != kNonCharacterFFFE && code != kNonCharacterFFFF;
}

// Appends a text value as escaped UTF-8.
void AppendText(std::string& text, const std::wstring& value) {
    std::wstring pending;
    auto flushPending = [&] {
        if (!pending.empty()) {
            text += ToUtf8(pending);
            pending.clear();
        }
    };
    for (wchar_t c : value) {
        if (!IsWritable(c)) {
            throw k_Failure(kFailurePrefix + std::wstring(L"the text \"") + value +
                            L"\" holds a character that a level file cannot hold");
        }
        if (const char* escape = Escape(c)) {
            flushPending();
            text += escape;
        } else if (static_cast<char32_t>(c) < kFirstAsciiExcluded && pending.empty()) {
            text += static_cast<char>(c);
        } else {
            pending += c;
        }
    }
    flushPending();
}

void AppendFlag(std::string& text, bool flag) { text += flag ? '1' : '0'; }

void AppendRecord(std::string& text, const SpriteData& record) {
    text += kSpriteType;
    AppendText(text, r_SpriteType::ToString(record.type));
    text += kSpriteTexture;
    AppendText(text, record.texture);
    text += kSpriteTop;
    AppendInteger(text, Truncated(record.top));
    text += kSpriteLeft;
    AppendInteger(text, Truncated(record.left));
    text += kSpriteDepth;
    AppendInteger(text, record.depth);
    text += kSpriteStatic;
    AppendFlag(text, record.isStatic);
    text += kSpriteSpecial;
    AppendFlag(text, record.special);
    text += kSpriteEnd;
}

void AppendScreen(std::string& text, IScreen& screen) {
    text += kScreenOpen;
    AppendInteger(text, screen.GetX());
    text += kScreenY;
    AppendInteger(text, screen.GetY());
    text += kTagEnd;
    for (const SpriteData& record : screen.GetSpriteData()) {
        AppendRecord(text, record);
    }
    text += kScreenClose;
}

void AppendWorld(std::string& text, IWorld& world, bool current) {
    text += kWorldOpen;
    AppendText(text, world.GetName());
    text += kWorldActive;
    AppendFlag(text, current);
    text += kTagEnd;
    for (auto& screen : world.GetScreens()) {
        AppendScreen(text, *screen);
    }
    text += kWorldClose;
}

std::wstring SystemError(int code) { return FromUtf8(std::strerror(code)); }

// A file that replaces another keeps its permissions; a new one gets those of a plain create.
mode_t ModeFor(const std::string& target) {
    struct stat status {};
    if (stat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        return status.st_mode & kPermissionBits;
    }
    const mode_t mask = umask(0);
    umask(mask);
    return kNewFileMode & ~mask;
}

// Writing through a symbolic link replaces the file it points at, not the link.
std::string ResolveTarget(const std::string& target) {
    std::error_code error;
    if (std::filesystem::is_symlink(target, error)) {
        std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
        if (!error) {
            return resolved.string();
        }
    }
    return target;
}

bool WriteAll(int descriptor, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        ssize_t count = write(descriptor, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

}  // namespace

std::string FormatLevel(IUniverse& universe) {
    std::string text = kDeclaration;
    text += kUniverseOpen;
    IWorld* current = universe.GetCurrentWorld();
    for (auto& world : universe.GetWorlds()) {
        AppendWorld(text, *world, world.get() == current);
    }
    text += kUniverseClose;
    return text;
}

void WriteLevelFile(const std::wstring& path, const std::string& text) {
    const std::string target = ResolveTarget(ToUtf8(path));
    std::string temporary = target + kTemporarySuffix;
    int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        Fail(path, L"the file cannot be created: " + SystemError(errno));
    }
    const bool written = fchmod(descriptor, ModeFor(target)) == 0 && WriteAll(descriptor, text);
    const int writeError = errno;
    const bool closed = close(descriptor) == 0;
    if (!written || !closed) {
        const int error = written ? errno : writeError;
        unlink(temporary.c_str());
        Fail(path, L"the file cannot be written: " + SystemError(error));
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        Fail(path, L"the file cannot be replaced: " + SystemError(error));
    }
}
