#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

#include "base/AtomicFile.h"
#include "support/Failures.h"
#include "support/TempDirectory.h"

namespace {

std::vector<std::string> g_failedTemporaries;  // what the failing fsync was given, by path

int FailingFsync(int descriptor) {
    char path[PATH_MAX] = {};
    if (readlink(("/proc/self/fd/" + std::to_string(descriptor)).c_str(), path, sizeof path - 1) > 0) {
        g_failedTemporaries.push_back(path);
    }
    errno = EIO;
    return -1;
}

int FailingRename(const char*, const char*) {
    errno = EXDEV;
    return -1;
}

// A failed step leaves the old file whole and no temporary file; what a save cut short left
// (recreated from the names the failing fsync saw) goes with the next save of that target
// only, unless a running save holds it.
TEST(AtomicFile, FailedStepsKeepTheOldFileAndLeftoversOfTheSameTargetAreRemoved) {
    const DurabilityCalls system = AtomicFileDurabilityCalls();
    TempDirectory directory;
    const std::string longName = std::string(251, 'n') + ".xml";
    auto write = [&](const std::string& name) { WriteFileAtomically(directory.Path(name), "new", L"", L""); };
    auto entries = [&] { return std::distance(std::filesystem::directory_iterator(directory.Path()), {}); };
    directory.Write("level.xml", "old");
    g_failedTemporaries.clear();
    for (const auto& [calls, reason] : {std::pair(DurabilityCalls{FailingFsync, ::rename}, L"cannot be written"),
                                        std::pair(DurabilityCalls{::fsync, FailingRename}, L"cannot be replaced")}) {
        AtomicFileDurabilityCalls() = calls;
        for (const std::string& name : {std::string("level.xml"), longName, std::string("other.xml")}) {
            EXPECT_TRUE(Contains(FailureOf([&] { write(name); }), {reason}));
        }
    }
    AtomicFileDurabilityCalls() = system;
    EXPECT_EQ(directory.Read("level.xml"), "old");
    EXPECT_EQ(entries(), 1);
    EXPECT_TRUE(Contains(FailureOf([&] { write("missing/level.xml"); }), {L"the temporary file beside it cannot be"}));

    ASSERT_EQ(g_failedTemporaries.size(), 3u);
    for (const std::string& leftover : g_failedTemporaries) {
        directory.Write(std::filesystem::path(leftover).filename().string(), "left by a save cut short");
    }
    const std::string running = g_failedTemporaries[0].substr(0, g_failedTemporaries[0].size() - 1) + "~";
    directory.Write(std::filesystem::path(running).filename().string(), "a save still writing");
    const int runningLock = open(running.c_str(), O_RDONLY);
    ASSERT_EQ(flock(runningLock, LOCK_EX), 0);
    write("level.xml");
    write(longName);
    close(runningLock);
    EXPECT_EQ(entries(), 4) << "level.xml, the long name, other.xml's leftover, the running save's file";
    EXPECT_TRUE(std::filesystem::exists(g_failedTemporaries[2]) && std::filesystem::exists(running));
}

}  // namespace
