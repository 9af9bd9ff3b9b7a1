// A solution script for a level: lines of "<seconds> <keys>", the arrow keys held for that
// long ("Right+Up", or "-" for none). Blank lines and text after '#' are ignored.
#pragma once

#include <string>
#include <vector>

struct ScriptStep {
    double seconds = 0.0;
    std::vector<int> keys;   // virtual-key codes held during the step
    std::string keyText;     // the keys as written, for the log
    int line = 0;            // line number in the script, for the log
};

// Reads the script at path; a missing file or a line that cannot be read raises k_Failure
// naming the file and the line.
std::vector<ScriptStep> ReadSolutionScript(const std::string& path);
