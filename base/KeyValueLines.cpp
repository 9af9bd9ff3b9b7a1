#include "base/KeyValueLines.h"

#include <sstream>

namespace {

const char* const kBlanks = " \t\r";
constexpr char kNoteMark = '#';
constexpr char kSeparator = '=';

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::vector<KeyValueLine> ReadKeyValueLines(const std::string& text, std::vector<int>& malformedLines) {
    std::vector<KeyValueLine> lines;
    std::istringstream stream(text);
    std::string raw;
    for (int number = 1; std::getline(stream, raw); ++number) {
        const std::string line = Trimmed(raw);
        if (line.empty() || line.front() == kNoteMark) {
            continue;
        }
        const std::size_t separator = line.find(kSeparator);
        const std::string key = separator == std::string::npos ? std::string() : Trimmed(line.substr(0, separator));
        if (key.empty()) {
            malformedLines.push_back(number);
            continue;
        }
        lines.push_back({number, key, Trimmed(line.substr(separator + 1))});
    }
    return lines;
}
