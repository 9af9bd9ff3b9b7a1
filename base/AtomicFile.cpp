#include "base/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "Failure.h"
#include "WideText.h"

namespace {

// The temporary file beside the target is named "." + the target's name + "." + a hash of the
// name + ".save-" + six random characters, so that the files an interrupted write left can be
// told from those of other targets. The name is cut so that the whole stays within the 255
// bytes a file name may have, whatever the target's length; the hash keeps cut names apart.
constexpr std::size_t kKeptNameBytes = 200;
const char* const kTemporaryMark = ".save-";
const char* const kTemporaryRandomPart = "XXXXXX";
constexpr std::uint32_t kHashOffset = 2166136261u;
constexpr std::uint32_t kHashPrime = 16777619u;
constexpr std::size_t kHashDigits = 8;
// Bytes after the first of a UTF-8 character are 10xxxxxx.
constexpr unsigned char kUtf8FollowerMask = 0xC0;
constexpr unsigned char kUtf8FollowerBits = 0x80;
const char* const kCurrentDirectory = ".";
constexpr mode_t kNewFileMode = 0666;
constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kAnyWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

// Raises the failures of one write, each naming the file the caller shows.
class Failing {
public:
    Failing(const std::wstring& prefix, const std::wstring& shownName) : prefix(prefix), shownName(shownName) {}

    [[noreturn]] void operator()(const std::wstring& reason) const {
        throw k_Failure(prefix + shownName + L": " + reason);
    }

private:
    const std::wstring& prefix;
    const std::wstring& shownName;
};

std::wstring SystemError(int code) { return FromUtf8(std::strerror(code)); }

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

void WriteAll(int descriptor, std::string_view bytes, const Failing& fail) {
    const char* next = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0) {
        ssize_t count = write(descriptor, next, size);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            fail(L"the file cannot be written: " + SystemError(count < 0 ? errno : EIO));
        }
        next += count;
        size -= static_cast<std::size_t>(count);
    }
}

// Only a regular file the user may write is replaced (the file a link points at counts); a
// device, pipe, folder or write-protected file is refused rather than replaced by a plain file.
// Returns the permissions the new file gets: those of the file it replaces, or those of a
// plain create when there is no file yet.
mode_t CheckReplaceable(const std::filesystem::path& target, const Failing& fail) {
    struct stat status {};
    if (stat(target.c_str(), &status) != 0) {
        if (errno != ENOENT) {
            fail(L"the file cannot be examined: " + SystemError(errno));
        }
        const mode_t mask = umask(0);
        umask(mask);
        return kNewFileMode & ~mask;
    }
    if (!S_ISREG(status.st_mode)) {
        fail(L"it is not a regular file");
    }
    if ((status.st_mode & kAnyWriteBits) == 0 || access(target.c_str(), W_OK) != 0) {
        fail(L"the file is write-protected");
    }
    return status.st_mode & kPermissionBits;
}

std::string FolderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path().string() : std::string(kCurrentDirectory);
}

// The complete bytes reach the disk before the rename, so that a power cut leaves the old
// file or the new one whole.
void WriteTemporary(int descriptor, mode_t mode, std::string_view bytes, const Failing& fail) {
    if (fchmod(descriptor, mode) != 0) {
        fail(L"the file's permissions cannot be set: " + SystemError(errno));
    }
    WriteAll(descriptor, bytes, fail);
    if (AtomicFileDurabilityCalls().fsync(descriptor) != 0) {
        fail(L"the file cannot be written: " + SystemError(errno));
    }
}

// The rename itself reaches the disk with the folder's entries.
void SyncFolder(const std::string& folder, const Failing& fail) {
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        fail(L"the folder cannot be flushed: " + SystemError(errno));
    }
    const int result = AtomicFileDurabilityCalls().fsync(descriptor);
    const int error = errno;
    close(descriptor);
    if (result != 0) {
        fail(L"the folder cannot be flushed: " + SystemError(error));
    }
}

// A 32-bit FNV-1a hash: stable across builds, so every program finds the same names.
std::uint32_t NameHash(const std::string& name) {
    std::uint32_t hash = kHashOffset;
    for (unsigned char byte : name) {
        hash = (hash ^ byte) * kHashPrime;
    }
    return hash;
}

// The start of every temporary file name of the target; a cut never splits a UTF-8 character.
std::string TemporaryPrefix(const std::filesystem::path& target) {
    const std::string name = target.filename().string();
    std::size_t kept = std::min(name.size(), kKeptNameBytes);
    while (kept > 0 && kept < name.size() &&
           (static_cast<unsigned char>(name[kept]) & kUtf8FollowerMask) == kUtf8FollowerBits) {
        --kept;
    }
    char hash[kHashDigits + 1];
    std::snprintf(hash, sizeof hash, "%08x", static_cast<unsigned>(NameHash(name)));
    return "." + name.substr(0, kept) + "." + hash + kTemporaryMark;
}

bool IsTemporaryOf(const std::string& entry, const std::string& prefix) {
    return entry.size() == prefix.size() + std::strlen(kTemporaryRandomPart) && entry.compare(0, prefix.size(), prefix) == 0;
}

// Removes a temporary file left by a write that ended before its rename. A write in progress
// holds a lock on its file, so the file of a write still running in another process stays.
void RemoveIfAbandoned(int folder, const char* entry) {
    const int descriptor = openat(folder, entry, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return;
    }
    struct stat status {};
    if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
        unlinkat(folder, entry, 0);
    }
    close(descriptor);
}

struct FolderCloser {
    void operator()(DIR* folder) const { closedir(folder); }
};

// Best effort: a folder that cannot be listed only keeps its leftovers.
void RemoveAbandonedTemporaries(const std::string& folder, const std::string& prefix) {
    const std::unique_ptr<DIR, FolderCloser> listing(opendir(folder.c_str()));
    if (!listing) {
        return;
    }
    while (const dirent* entry = readdir(listing.get())) {
        if (IsTemporaryOf(entry->d_name, prefix)) {
            RemoveIfAbandoned(dirfd(listing.get()), entry->d_name);
        }
    }
}

// The locked temporary file; the lock lasts until the descriptor closes after the rename.
int CreateTemporary(std::string& temporary, const Failing& fail) {
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        fail(L"the temporary file beside it cannot be created: " + SystemError(errno));
    }
    if (flock(descriptor, LOCK_EX) != 0) {
        const int error = errno;
        close(descriptor);
        unlink(temporary.c_str());
        fail(L"the temporary file beside it cannot be locked: " + SystemError(error));
    }
    return descriptor;
}

// Writes and renames the temporary file; on failure it is removed. Its data reached the disk
// before the rename, so nothing a later close could report can be lost.
void ReplaceThroughTemporary(const std::string& temporary, int descriptor, const std::filesystem::path& target,
                             mode_t mode, std::string_view bytes, const Failing& fail) {
    try {
        WriteTemporary(descriptor, mode, bytes, fail);
    } catch (...) {
        unlink(temporary.c_str());
        close(descriptor);
        throw;
    }
    const int renamed = AtomicFileDurabilityCalls().rename(temporary.c_str(), target.c_str());
    const int error = errno;
    if (renamed != 0) {
        unlink(temporary.c_str());
    }
    close(descriptor);
    if (renamed != 0) {
        fail(L"the file cannot be replaced: " + SystemError(error));
    }
}

}  // namespace

DurabilityCalls& AtomicFileDurabilityCalls() {
    static DurabilityCalls calls{::fsync, ::rename};
    return calls;
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, const std::wstring& failurePrefix,
                         const std::wstring& shownName) {
    const Failing fail(failurePrefix, shownName);
    const std::filesystem::path target = ResolveTarget(path);
    const mode_t mode = CheckReplaceable(target, fail);
    const std::string folder = FolderOf(target);
    const std::string prefix = TemporaryPrefix(target);
    RemoveAbandonedTemporaries(folder, prefix);
    std::string temporary = (std::filesystem::path(folder) / (prefix + kTemporaryRandomPart)).string();
    const int descriptor = CreateTemporary(temporary, fail);
    ReplaceThroughTemporary(temporary, descriptor, target, mode, bytes, fail);
    SyncFolder(folder, fail);
}
