#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Failure.h"
#include "WideText.h"

namespace {

// The temporary file beside the target: a short fixed pattern, so that a target whose own name
// is as long as the file system allows still has room for it.
const char* const kTemporaryPattern = ".save-XXXXXX";
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
// file or the new one whole. Closes the descriptor in every case.
void WriteTemporary(int descriptor, mode_t mode, std::string_view bytes, const Failing& fail) {
    try {
        if (fchmod(descriptor, mode) != 0) {
            fail(L"the file's permissions cannot be set: " + SystemError(errno));
        }
        WriteAll(descriptor, bytes, fail);
        if (fsync(descriptor) != 0) {
            fail(L"the file cannot be written: " + SystemError(errno));
        }
    } catch (...) {
        close(descriptor);
        throw;
    }
    if (close(descriptor) != 0) {
        fail(L"the file cannot be written: " + SystemError(errno));
    }
}

// The rename itself reaches the disk with the folder's entries.
void SyncFolder(const std::string& folder, const Failing& fail) {
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        fail(L"the folder cannot be flushed: " + SystemError(errno));
    }
    const int result = fsync(descriptor);
    const int error = errno;
    close(descriptor);
    if (result != 0) {
        fail(L"the folder cannot be flushed: " + SystemError(error));
    }
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, const std::wstring& failurePrefix,
                         const std::wstring& shownName) {
    const Failing fail(failurePrefix, shownName);
    const std::filesystem::path target = ResolveTarget(path);
    const mode_t mode = CheckReplaceable(target, fail);
    const std::string folder = FolderOf(target);
    std::string temporary = (std::filesystem::path(folder) / kTemporaryPattern).string();
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        fail(L"the file cannot be created: " + SystemError(errno));
    }
    try {
        WriteTemporary(descriptor, mode, bytes, fail);
    } catch (...) {
        unlink(temporary.c_str());
        throw;
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        fail(L"the file cannot be replaced: " + SystemError(error));
    }
    SyncFolder(folder, fail);
}
