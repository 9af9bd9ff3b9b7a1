// A solution script for a level: lines of "<seconds> <keys>", the arrow keys held for that
// long ("Right+Up", "Enter", or "-" for none). Blank lines and text after '#' are ignored.
#pragma once

#include <string>
#include <vector>

#include "app/StepKeys.h"

struct ScriptStep {
    double seconds = 0.0;
    StepKeys keys = 0;       // the keys held during the step
    std::string keyText;     // the keys as written, for the log
    int line = 0;            // line number in the script, for the log
};

// Reads the script at path; a missing file or a line that cannot be read raises k_Failure
// naming the file and the line.
std::vector<ScriptStep> ReadSolutionScript(const std::string& path);

// The script as the keys of each fixed step of stepSeconds.
std::vector<StepKeys> ScriptToSteps(const std::vector<ScriptStep>& script, double stepSeconds);
