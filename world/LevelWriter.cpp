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
#include <string_view>

#include "Failure.h"
#include "IScreen.h"
#include "IWorld.h"
#include "WideText.h"

namespace {

using namespace std::string_view_literals;

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"sv;
constexpr std::string_view kUniverseOpen = "<universe>\n"sv;
constexpr std::string_view kUniverseClose = "</universe>\n"sv;
constexpr std::string_view kWorldOpen = "\t<world name=\""sv;
constexpr std::string_view kWorldActive = "\" active=\""sv;
constexpr std::string_view kTagEnd = "\">\n"sv;
constexpr std::string_view kWorldClose = "\t</world>\n"sv;
constexpr std::string_view kScreenOpen = "\t\t<screen x=\""sv;
constexpr std::string_view kScreenY = "\" y=\""sv;
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
// The temporary file beside the level: a short fixed pattern, so that a level whose own name
// is as long as the file system allows still has room for it.
const char* const kTemporaryPattern = ".level-XXXXXX";
const char* const kCurrentDirectory = ".";
constexpr mode_t kNewFileMode = 0666;
constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kAnyWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr std::size_t kMaxIntegerCharacters = 20;
constexpr char32_t kFirstAsciiExcluded = 0x80;
constexpr char32_t kFirstXmlCharacter = 0x20;
constexpr char32_t kNonCharacterFFFE = 0xFFFE;
constexpr char32_t kNonCharacterFFFF = 0xFFFF;

[[noreturn]] void Fail(const std::wstring& where, const std::wstring& what) {
    throw k_Failure(kFailurePrefix + where + L": " + what);
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
    out.Put(kTagEnd);
    for (auto& screen : world.GetScreens()) {
        PutScreen(out, *screen, types);
    }
    out.Put(kWorldClose);
}

// Writing through a symbolic link replaces the file it points at, not the link.
std::filesystem::path ResolveTarget(const std::filesystem::path& target) {
    std::error_code error;
    if (std::filesystem::is_symlink(target, error)) {
        std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
        if (!error) {
            return resolved;
        }
    }
    return target;
}

std::wstring SystemError(int code) { return FromUtf8(std::strerror(code)); }

void WriteAll(int descriptor, const std::string& text, const std::wstring& path) {
    const char* bytes = text.data();
    std::size_t size = text.size();
    while (size > 0) {
        ssize_t count = write(descriptor, bytes, size);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            Fail(path, L"the file cannot be written: " + SystemError(count < 0 ? errno : EIO));
        }
        bytes += count;
        size -= static_cast<std::size_t>(count);
    }
}

// Only a regular file the user may write is replaced (the file a link points at counts); a
// device, pipe, folder or write-protected file is refused rather than replaced by a plain file.
// Returns the permissions the new file gets: those of the file it replaces, or those of a
// plain create when there is no file yet.
mode_t CheckReplaceable(const std::filesystem::path& target, const std::wstring& path) {
    struct stat status {};
    if (stat(target.c_str(), &status) != 0) {
        if (errno != ENOENT) {
            Fail(path, L"the file cannot be examined: " + SystemError(errno));
        }
        const mode_t mask = umask(0);
        umask(mask);
        return kNewFileMode & ~mask;
    }
    if (!S_ISREG(status.st_mode)) {
        Fail(path, L"it is not a regular file");
    }
    if ((status.st_mode & kAnyWriteBits) == 0 || access(target.c_str(), W_OK) != 0) {
        Fail(path, L"the file is write-protected");
    }
    return status.st_mode & kPermissionBits;
}

std::string FolderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path().string() : std::string(kCurrentDirectory);
}

// The complete text reaches the disk before the rename, so that a power cut leaves the old
// file or the new one whole. Closes the descriptor in every case.
void WriteTemporary(int descriptor, mode_t mode, const std::string& text, const std::wstring& path) {
    try {
        if (fchmod(descriptor, mode) != 0) {
            Fail(path, L"the file's permissions cannot be set: " + SystemError(errno));
        }
        WriteAll(descriptor, text, path);
        if (fsync(descriptor) != 0) {
            Fail(path, L"the file cannot be written: " + SystemError(errno));
        }
    } catch (...) {
        close(descriptor);
        throw;
    }
    if (close(descriptor) != 0) {
        Fail(path, L"the file cannot be written: " + SystemError(errno));
    }
}

// The rename itself reaches the disk with the folder's entries.
void SyncFolder(const std::string& folder, const std::wstring& path) {
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        Fail(path, L"the folder cannot be flushed: " + SystemError(errno));
    }
    const int result = fsync(descriptor);
    const int error = errno;
    close(descriptor);
    if (result != 0) {
        Fail(path, L"the folder cannot be flushed: " + SystemError(error));
    }
}

}  // namespace

std::string FormatLevel(IUniverse& universe) {
    const TypeTexts types;
    LevelText out;
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
    const std::string text = FormatLevel(universe);
    const std::filesystem::path target = ResolveTarget(ToUtf8(path));
    const mode_t mode = CheckReplaceable(target, path);
    const std::string folder = FolderOf(target);
    std::string temporary = (std::filesystem::path(folder) / kTemporaryPattern).string();
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        Fail(path, L"the file cannot be created: " + SystemError(errno));
    }
    try {
        WriteTemporary(descriptor, mode, text, path);
    } catch (...) {
        unlink(temporary.c_str());
        throw;
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        Fail(path, L"the file cannot be replaced: " + SystemError(error));
    }
    SyncFolder(folder, path);
}
