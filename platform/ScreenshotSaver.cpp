#include "platform/ScreenshotSaver.h"

#include <GL/gl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <system_error>
#include <utility>

#include "platform/PngEncoder.h"
#include "platform/PicturesFolder.h"

namespace {

constexpr int kRgbChannels = 3;
constexpr int kMostAttempts = 1000;
constexpr mode_t kFileMode = 0644;

// The picture is written whole into a hidden temporary file in the folder first.
int CreateTemporaryFile(const std::filesystem::path& folder, std::string& temporary) {
    temporary = (folder / ".screenshot-XXXXXX").string();
    int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor >= 0) {
        ::fchmod(descriptor, kFileMode);
    }
    return descriptor;
}

// Gives the finished temporary file its name without ever replacing an existing file.
int MoveIntoPlace(const std::string& temporary, const std::filesystem::path& path) {
    int result = ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE);
    if (result != 0 && errno == EINVAL) {  // a file system without that rename: link, then unlink
        result = ::link(temporary.c_str(), path.c_str());
        if (result == 0) {
            ::unlink(temporary.c_str());
        }
    }
    return result;
}

// Names the picture for the time, adding a number when that name is taken. False, with errno
// set, when no name could be taken.
bool NameForTime(const std::string& temporary, const std::filesystem::path& folder, const std::tm& takenAt,
                 std::filesystem::path& path) {
    for (int attempt = 1; attempt <= kMostAttempts; ++attempt) {
        path = folder / ScreenshotFileName(takenAt, attempt);
        if (MoveIntoPlace(temporary, path) == 0) {
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    errno = EEXIST;
    return false;
}

bool WriteAll(int descriptor, const std::vector<std::uint8_t>& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t count = ::write(descriptor, bytes.data() + written, bytes.size() - written);
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

std::string ErrorText(int number) {
    return std::generic_category().message(number);
}

// One whole line per report, so that lines from this thread and the game's do not interleave.
void Report(std::ostream& stream, const std::string& line) {
    stream << line + "\n" << std::flush;
}

}  // namespace


ScreenshotSaver::ScreenshotSaver(FolderChooser chooseFolder) : chooseFolder(std::move(chooseFolder)) {}

ScreenshotSaver::~ScreenshotSaver() {
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    woken.notify_one();
    if (worker.joinable()) {
        worker.join();
    }
}

void ScreenshotSaver::Capture(const SceneRectangle& rectangle) {
    Picture picture;
    std::time_t now = std::time(nullptr);
    localtime_r(&now, &picture.takenAt);
    picture.image.width = rectangle.width;
    picture.image.height = rectangle.height;
    picture.image.channels = kRgbChannels;
    picture.image.pixels.resize(static_cast<std::size_t>(rectangle.width) * rectangle.height * kRgbChannels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(rectangle.left, rectangle.top, rectangle.width, rectangle.height, GL_RGB, GL_UNSIGNED_BYTE,
                 picture.image.pixels.data());
    Queue(std::move(picture));
}

void ScreenshotSaver::Queue(Picture picture) {
    {
        std::lock_guard<std::mutex> guard(lock);
        pending.push_back(std::move(picture));
        if (!worker.joinable()) {
            worker = std::thread(&ScreenshotSaver::SavePending, this);
        }
    }
    woken.notify_one();
}

void ScreenshotSaver::SavePending() {
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        woken.wait(guard, [this] { return stopping || !pending.empty(); });
        if (pending.empty()) {
            return;  // stopping, with nothing left to save
        }
        Picture picture = std::move(pending.front());
        pending.pop_front();
        guard.unlock();
        Save(picture);
        guard.lock();
    }
}

void ScreenshotSaver::Save(const Picture& picture) const {
    std::vector<std::uint8_t> file;
    std::string error;
    if (!EncodePng(picture.image, file, error)) {
        Report(std::cerr, "Cannot save the screenshot: " + error);
        return;
    }
    const std::filesystem::path folder = chooseFolder();
    std::string temporary;
    int descriptor = CreateTemporaryFile(folder, temporary);
    if (descriptor < 0) {
        Report(std::cerr, "Cannot save the screenshot in " + folder.string() + ": " + ErrorText(errno));
        return;
    }
    bool written = WriteAll(descriptor, file) && ::fsync(descriptor) == 0;
    int writeError = errno;
    bool closed = ::close(descriptor) == 0;
    std::filesystem::path path;
    if (!written || !closed || !NameForTime(temporary, folder, picture.takenAt, path)) {
        int error = !written ? writeError : errno;
        ::unlink(temporary.c_str());  // no half-written picture is left behind
        Report(std::cerr, "Cannot save the screenshot " + (path.empty() ? folder : path).string() + ": " +
                              ErrorText(error));
        return;
    }
    Report(std::cout, "Screenshot saved: " + path.string());
}
