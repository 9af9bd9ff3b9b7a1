// Replacing a file so that no failure or power cut leaves it partial: the bytes go to a
// temporary file beside the target, reach the disk, and are renamed over the target; the
// folder's entries are flushed after. Used for levels, settings, replays and best times.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Writes bytes to target atomically. Only a new file or a writable regular file (also through
// a link, which stays a link) is replaced, and the new file keeps the old one's permissions.
// Failures raise k_Failure as failurePrefix + shownName + ": " + the reason; the target is then
// unchanged and no temporary file is left behind.
void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         const std::wstring& failurePrefix, const std::wstring& shownName);
