// Replay files: what a run writes reads back the same, and a damaged or hostile file is refused
// with a message that says what is wrong, before anything large is allocated.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "app/Replay.h"
#include "support/Failures.h"
#include "support/TempDirectory.h"

namespace {

Replay Journey() { return Replay{"0.9.0", "db391f4158145328", "Meadows", {0, kStepRight, kStepRight | kStepUp, kStepEnter}}; }

std::wstring RefusalOf(std::string bytes) {
    return FailureOf([&] {
        DecodeReplay(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), L"run.replay");
    });
}

// The bytes of a replay with one little-endian field at `offset` replaced.
std::string Patched(std::size_t offset, std::string field) {
    std::string bytes = EncodeReplay(Journey());
    return bytes.replace(offset, field.size(), field);
}

}  // namespace

TEST(ReplayFile, WhatIsWrittenReadsBackTheSameIntoAFolderMadeForIt) {
    TempDirectory folder;
    const std::filesystem::path path = folder.Path("replays/deep/last.replay");
    WriteReplayFile(path, Journey());
    const Replay read = ReadReplayFile(path);
    EXPECT_EQ(read.gameVersion, "0.9.0");
    EXPECT_EQ(read.levelDigest, "db391f4158145328");
    EXPECT_EQ(read.world, "Meadows");
    EXPECT_EQ(read.steps, Journey().steps);
}

TEST(ReplayFile, DamagedAndHostileFilesAreRefusedWithTheReason) {
    const std::string valid = EncodeReplay(Journey());
    for (std::size_t size = 0; size < valid.size(); ++size) {
        EXPECT_TRUE(Contains(RefusalOf(valid.substr(0, size)), {L"run.replay"})) << "cut at " << size;
    }
    const std::size_t stepCount = valid.size() - Journey().steps.size() - 4;
    EXPECT_TRUE(Contains(RefusalOf("NOTAREPLAY" + valid), {L"not a replay"}));
    EXPECT_TRUE(Contains(RefusalOf(Patched(8, std::string("\x02\x00", 2))), {L"format 2", L"format 1"}));
    EXPECT_TRUE(Contains(RefusalOf(Patched(stepCount, "\xff\xff\xff\xff")), {L"4294967295 steps", L"more than"}));
    EXPECT_TRUE(Contains(RefusalOf(Patched(stepCount, std::string("\x09\x00\x00\x00", 4))), {L"claims 9 steps", L"holds 4"}));
    EXPECT_TRUE(Contains(RefusalOf(valid + "x"), {L"claims 4 steps", L"holds 5"}));
    EXPECT_TRUE(Contains(RefusalOf(Patched(valid.size() - 1, "\x80")), {L"step 4", L"keys"}));
    EXPECT_TRUE(Contains(RefusalOf(Patched(10, "\xff")), {L"ends inside"}));
}

TEST(ReplayFile, OnlyARegularFileIsOpened) {
    TempDirectory folder;
    ASSERT_EQ(mkfifo(folder.Path("pipe").c_str(), 0600), 0);
    EXPECT_TRUE(Contains(FailureOf([&] { ReadReplayFile(folder.Path("pipe")); }), {L"pipe", L"not a regular file"}));
    EXPECT_TRUE(Contains(FailureOf([&] { ReadReplayFile(folder.Path()); }), {L"not a regular file"}));
    EXPECT_TRUE(Contains(FailureOf([&] { ReadReplayFile(folder.Path("missing")); }), {L"missing", L"No such file"}));
}
