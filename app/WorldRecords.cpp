#include "app/WorldRecords.h"

#include <charconv>
#include <sstream>

#include "Failure.h"
#include "WideText.h"
#include "base/AtomicFile.h"
#include "base/SmallFile.h"
#include "base/UserFolders.h"

namespace {

const char* const kHeader = "# The worlds reached and the best times, in steps of 1/60 s\n";
const std::string kReachedWord = "reached ";
const std::string kBestWord = "best ";
const wchar_t* const kWriteFailure = L"Cannot save the best times: ";
// Far beyond any level's records; a larger file is damaged and not read.
constexpr std::uintmax_t kMaxRecordsBytes = 1u << 20;

// A name the format can hold: on one line, and not empty.
bool IsWritableName(const std::string& name) {
    return !name.empty() && name.find_first_of("\r\n") == std::string::npos;
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// "STEPS NAME" into the records; false when it is not that.
bool TakeBest(const std::string& rest, PlayerRecords& records) {
    const std::size_t space = rest.find(' ');
    if (space == std::string::npos || space + 1 == rest.size()) {
        return false;
    }
    long steps = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + space, steps);
    if (error != std::errc() || end != rest.data() + space || steps < 0) {
        return false;
    }
    records.bestSteps[rest.substr(space + 1)] = steps;
    return true;
}

bool TakeLine(const std::string& line, PlayerRecords& records) {
    if (StartsWith(line, kReachedWord) && line.size() > kReachedWord.size()) {
        records.reached.insert(line.substr(kReachedWord.size()));
        return true;
    }
    return StartsWith(line, kBestWord) && TakeBest(line.substr(kBestWord.size()), records);
}

}  // namespace

std::string FormatPlayerRecords(const PlayerRecords& records) {
    std::string text = kHeader;
    for (const std::string& name : records.reached) {
        if (IsWritableName(name)) {
            text += kReachedWord + name + "\n";
        }
    }
    for (const auto& [name, steps] : records.bestSteps) {
        if (IsWritableName(name)) {
            text += kBestWord + std::to_string(steps) + " " + name + "\n";
        }
    }
    return text;
}

PlayerRecords ParsePlayerRecords(const std::string& text, const std::string& shownName, std::ostream& warnings) {
    PlayerRecords records;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#' || TakeLine(line, records)) {
            continue;
        }
        warnings << shownName << ":" << number << ": not a record, skipped" << std::endl;
    }
    return records;
}

PlayerRecords ReadPlayerRecords(const std::filesystem::path& path, std::ostream& warnings) {
    std::string text;
    switch (ReadSmallFile(path, kMaxRecordsBytes, text)) {
    case SmallFileProblem::None:
        return ParsePlayerRecords(text, path.string(), warnings);
    case SmallFileProblem::Missing:
        return {};
    case SmallFileProblem::NotRegular:
    case SmallFileProblem::TooLarge:
        warnings << path.string() << ": not a file of records, ignored" << std::endl;
        return {};
    case SmallFileProblem::Unreadable:
        break;
    }
    warnings << path.string() << ": cannot be read, ignored" << std::endl;
    return {};
}

void WritePlayerRecords(const std::filesystem::path& path, const PlayerRecords& records) {
    if (!MakeUserFolder(path.parent_path())) {
        throw k_Failure(kWriteFailure + FromUtf8(path.string()) + L": its folder cannot be made");
    }
    WriteFileAtomically(path, FormatPlayerRecords(records), kWriteFailure, FromUtf8(path.string()));
}
