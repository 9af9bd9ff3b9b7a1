// check_level: checks a universe file for level designers; see tools/README.md.
// Exit status 0 when the level is clean, 1 with findings, 2 when used wrongly.
#include <iostream>

#include "WideText.h"
#include "tools/level_checker/LevelChecker.h"

namespace {

constexpr int kClean = 0;
constexpr int kFindings = 1;
constexpr int kUsageError = 2;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: check_level path/to/universe.xml\n"
                     "Checks a level and the pictures in its folder; prints one finding per line.\n";
        return kUsageError;
    }
    const std::vector<LevelFinding> findings = CheckLevel(FromUtf8(argv[1]));
    for (const LevelFinding& finding : findings) {
        std::cout << ToUtf8(FindingLine(finding)) << '\n';
    }
    std::cerr << argv[1] << ": " << findings.size() << (findings.size() == 1 ? " finding" : " findings") << '\n';
    return findings.empty() ? kClean : kFindings;
}
