#include "filesystem/DataFolderListing.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <set>
#include <utility>

#include "WideText.h"

namespace fs = std::filesystem;

namespace {

// A directory's identity, to notice a link leading back into a directory being walked.
using DirectoryIdentity = std::pair<dev_t, ino_t>;

struct DirectoryItem {
    std::string name;
    bool isDirectory;
};

// The items of one directory sorted by name; unreadable items and directories give nothing.
std::vector<DirectoryItem> SortedItems(const fs::path& directory) {
    std::vector<DirectoryItem> items;
    std::error_code error;
    for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        bool isDirectory = it->is_directory(typeError);
        items.push_back({it->path().filename().string(), isDirectory && !typeError});
    }
    std::sort(items.begin(), items.end(),
              [](const DirectoryItem& a, const DirectoryItem& b) { return a.name < b.name; });
    return items;
}

void CollectFiles(const fs::path& directory, const std::string& relative, std::set<DirectoryIdentity>& ancestors,
                  std::vector<std::wstring>& files) {
    struct stat status;
    if (::stat(directory.c_str(), &status) != 0 || !ancestors.insert({status.st_dev, status.st_ino}).second) {
        return;
    }
    for (const DirectoryItem& item : SortedItems(directory)) {
        if (item.name == "." || item.name == "..") {
            continue;
        }
        std::string name = relative + item.name;
        if (DataNameLength(name) > kMaxDataNameLength) {
            std::cerr << "Left out of the data files, its name is longer than " << kMaxDataNameLength
                      << " characters: " << name << std::endl;
            continue;
        }
        if (item.isDirectory) {
            CollectFiles(directory / item.name, name + "/", ancestors, files);
        } else {
            files.push_back(L"/" + FromUtf8(name));
        }
    }
    ancestors.erase({status.st_dev, status.st_ino});
}

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return fold(x) == fold(y);
           });
}

// The name of the directory's entry matching component ignoring ASCII case, the first by name.
std::optional<std::string> FindIgnoringCase(const fs::path& directory, const std::string& component) {
    std::optional<std::string> best;
    std::error_code error;
    for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (EqualsIgnoringAsciiCase(name, component) && (!best || name < *best)) {
            best = std::move(name);
        }
    }
    return best;
}

// Why a disk file could not be opened, from the error of open().
std::string OpenFailure(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "no such file";
    case ELOOP:
        return "a link loop";
    case EACCES:
        return "no permission to read it";
    default:
        return std::strerror(error);
    }
}

void Explain(std::string* whyNot, std::string text) {
    if (whyNot != nullptr) {
        *whyNot = std::move(text);
    }
}

// Why fstat's status makes a file unreadable as data, or empty when it is fine.
std::string StatusFailure(const struct stat& status) {
    if (S_ISDIR(status.st_mode)) {
        return "a folder rather than a file";
    }
    if (!S_ISREG(status.st_mode)) {
        return "not a regular file";
    }
    if (static_cast<std::uint64_t>(status.st_size) > kMaxDiskFileSize) {
        return "larger than the " + std::to_string(kMaxDiskFileSize) + " bytes a data file may have";
    }
    return {};
}

bool ReadAll(int descriptor, std::uint8_t* buffer, std::uint32_t size) {
    std::uint32_t filled = 0;
    while (filled < size) {
        ssize_t count = ::read(descriptor, buffer + filled, size - filled);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        filled += static_cast<std::uint32_t>(count);
    }
    return true;
}

}  // namespace

std::size_t DataNameLength(const std::string& relative) { return FromUtf8(relative).size(); }

std::vector<std::wstring> ListDataFiles(const fs::path& root) {
    std::vector<std::wstring> files;
    std::set<DirectoryIdentity> ancestors;
    CollectFiles(root, "", ancestors, files);
    return files;
}

std::optional<fs::path> FindDataPath(const fs::path& root, const std::string& relative) {
    fs::path exact = root / relative;
    std::error_code error;
    if (fs::exists(exact, error)) {
        return exact;
    }
    fs::path found = root;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = std::min(relative.find('/', start), relative.size());
        std::string component = relative.substr(start, end - start);
        start = end + 1;
        if (component.empty() || component == ".") {
            continue;
        }
        if (fs::exists(found / component, error)) {
            found /= component;
            continue;
        }
        std::optional<std::string> match = FindIgnoringCase(found, component);
        if (!match) {
            return std::nullopt;
        }
        found /= *match;
    }
    return found;
}

bool ReadDiskFile(const fs::path& path, std::unique_ptr<std::uint8_t[]>& content, std::uint32_t& size,
                  std::string* whyNot) {
    // Non-blocking, so that opening a named pipe returns at once (and is then refused); reads of
    // regular files are unaffected.
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        Explain(whyNot, OpenFailure(errno));
        return false;
    }
    struct stat status;
    bool readable = ::fstat(descriptor, &status) == 0;
    std::string failure = readable ? StatusFailure(status) : std::string("its status cannot be read");
    readable = failure.empty();
    if (readable) {
        auto length = static_cast<std::uint32_t>(status.st_size);
        std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[length + std::size_t{1}]);
        readable = ReadAll(descriptor, buffer.get(), length);
        if (readable) {
            content = std::move(buffer);
            size = length;
        } else {
            failure = "a read error";
        }
    }
    ::close(descriptor);
    if (!readable) {
        Explain(whyNot, std::move(failure));
    }
    return readable;
}
