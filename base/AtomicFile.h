// Replacing a file so that no failure or power cut leaves it partial: the bytes go to a
// temporary file beside the target, reach the disk, and are renamed over the target; the
// folder's entries are flushed after. Used for levels, settings, replays and best times.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Writes bytes to target atomically. Only a new file or a writable regular file (also through
// a link, which stays a link) is replaced, and the new file keeps the old one's permissions.
// Temporary files that an interrupted write of the same target left beside it are removed.
// Failures raise k_Failure as failurePrefix + shownName + ": " + the reason; the target is then
// unchanged and no temporary file is left behind.
void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         const std::wstring& failurePrefix, const std::wstring& shownName);

// The calls that make a write durable. Tests swap them to fail a step on purpose and restore
// them after; everything else uses the system's own.
struct DurabilityCalls {
    int (*fsync)(int descriptor);
    int (*rename)(const char* from, const char* to);
};
DurabilityCalls& AtomicFileDurabilityCalls();
