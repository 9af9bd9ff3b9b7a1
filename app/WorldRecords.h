// The player's records kept between runs: the worlds reached and each world's best time in
// fixed steps, as a small text file beside the replays. One record a line:
//   reached NAME
//   best STEPS NAME
// Lines starting with '#' and blank lines are skipped. A damaged line or an unreadable file
// costs only what it held: reading warns and goes on.
#pragma once

#include <filesystem>
#include <map>
#include <ostream>
#include <set>
#include <string>

struct PlayerRecords {
    std::set<std::string> reached;           // world names, UTF-8
    std::map<std::string, long> bestSteps;   // world name to its fastest finished run
};

std::string FormatPlayerRecords(const PlayerRecords& records);

// Reads the lines of text; each line it cannot take is named in one warning.
PlayerRecords ParsePlayerRecords(const std::string& text, const std::string& shownName, std::ostream& warnings);

// A missing file is no records; a file that cannot be read is warned about and gives none.
PlayerRecords ReadPlayerRecords(const std::filesystem::path& path, std::ostream& warnings);

// Writes atomically, making the folder first; raises k_Failure naming the file.
void WritePlayerRecords(const std::filesystem::path& path, const PlayerRecords& records);
