// A recorded run: which game and level it was played on and the keys of every fixed step.
// Played back through the same steps, it ends in the same state on any machine at any frame
// rate. The file is little-endian binary:
//   "RLREPLAY"  magic, 8 bytes
//   u16         format version (kReplayFormatVersion)
//   u8 + bytes  the game's version text
//   u8 + bytes  the level digest, hexadecimal
//   u16 + bytes the world's name, UTF-8
//   u32         the number of steps, then one byte of StepKeys per step
// Reading checks every length against what is left of the file before it takes anything, so a
// damaged or hostile file is refused with a message and never makes a large allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/StepKeys.h"

constexpr std::uint16_t kReplayFormatVersion = 1;
// Ten hours of steps; a longer recording is refused rather than read.
constexpr std::uint32_t kMaxReplaySteps = 10u * 60u * 60u * 60u;

struct Replay {
    std::string gameVersion;
    std::string levelDigest;
    std::string world;  // UTF-8
    std::vector<StepKeys> steps;
};

std::string EncodeReplay(const Replay& replay);

// Raises k_Failure naming `shownName` and what is wrong with the bytes.
Replay DecodeReplay(const std::uint8_t* bytes, std::size_t size, const std::wstring& shownName);

// Reads a replay file: only a regular file of a plausible size is opened.
Replay ReadReplayFile(const std::filesystem::path& path);

// Writes the replay atomically, making its folder first when needed.
void WriteReplayFile(const std::filesystem::path& path, const Replay& replay);
