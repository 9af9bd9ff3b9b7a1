#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "support/Failures.h"
#include "support/TempDirectory.h"

namespace {

namespace fs = std::filesystem;

const std::string kOldBytes = "the old file, whole";

// The temporary files the failing fsync below was given, by path.
std::vector<std::string> g_failedTemporaries;

int FsyncRecordingAndFailing(int descriptor) {
    char path[PATH_MAX] = {};
    if (readlink(("/proc/self/fd/" + std::to_string(descriptor)).c_str(), path, sizeof path - 1) > 0) {
        g_failedTemporaries.push_back(path);
    }
    errno = EIO;
    return -1;
}

int RenameFailing(const char*, const char*) {
    errno = EXDEV;
    return -1;
}

// Each test may swap the durable-write calls; the system's come back after it.
class AtomicFileTest : public ::testing::Test {
protected:
    ~AtomicFileTest() override { AtomicFileDurabilityCalls() = systemCalls; }

    void Write(const std::string& name, const std::string& bytes) {
        WriteFileAtomically(directory.Path(name), bytes, L"Cannot save: ", FromUtf8(name));
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(directory.Path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDirectory directory;
    const DurabilityCalls systemCalls = AtomicFileDurabilityCalls();
};

TEST_F(AtomicFileTest, AFailedFsyncOrRenameLeavesTheOldFileWholeAndNoTemporaryFile) {
    directory.Write("level.xml", kOldBytes);
    AtomicFileDurabilityCalls().fsync = FsyncRecordingAndFailing;
    EXPECT_TRUE(Contains(FailureOf([&] { Write("level.xml", "new"); }),
                         {L"Cannot save: level.xml: the file cannot be written: "}));
    EXPECT_EQ(directory.Read("level.xml"), kOldBytes);
    EXPECT_EQ(Entries(), std::vector<std::string>{"level.xml"});

    AtomicFileDurabilityCalls() = systemCalls;
    AtomicFileDurabilityCalls().rename = RenameFailing;
    EXPECT_TRUE(Contains(FailureOf([&] { Write("level.xml", "new"); }),
                         {L"Cannot save: level.xml: the file cannot be replaced: "}));
    EXPECT_EQ(directory.Read("level.xml"), kOldBytes);
    EXPECT_EQ(Entries(), std::vector<std::string>{"level.xml"});

    EXPECT_TRUE(Contains(FailureOf([&] { Write("missing/level.xml", "new"); }),
                         {L"missing/level.xml: the temporary file beside it cannot be created: "}));
}

// A save cut short (a crash, a power cut) leaves its temporary file; the next save of the same
// target removes it, and only files of that target's naming that no running save holds.
TEST_F(AtomicFileTest, ASaveRemovesWhatAnInterruptedSaveOfTheSameTargetLeft) {
    const std::string longName = std::string(251, 'n') + ".xml";
    const std::vector<std::string> targets = {"level.xml", longName, "other.xml"};
    AtomicFileDurabilityCalls().fsync = FsyncRecordingAndFailing;
    g_failedTemporaries.clear();
    for (const std::string& target : targets) {
        FailureOf([&] { Write(target, "new"); });
    }
    AtomicFileDurabilityCalls() = systemCalls;
    ASSERT_EQ(g_failedTemporaries.size(), targets.size());
    for (const std::string& leftover : g_failedTemporaries) {
        std::ofstream(leftover) << "what an interrupted save left";
    }
    const std::string running = g_failedTemporaries[0].substr(0, g_failedTemporaries[0].size() - 6) + "active";
    std::ofstream(running) << "a save still writing";
    const int runningLock = open(running.c_str(), O_RDONLY);
    ASSERT_EQ(flock(runningLock, LOCK_EX), 0);
    directory.Write("level.xml.save-abcdef", "not of its naming");

    Write("level.xml", "new");
    Write(longName, "new");
    close(runningLock);
    std::vector<std::string> kept = {fs::path(running).filename().string(),
                                     fs::path(g_failedTemporaries[2]).filename().string(), "level.xml",
                                     "level.xml.save-abcdef", longName};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Entries(), kept);
}

}  // namespace
