#include "tools/playthrough/SolutionScript.h"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "Failure.h"
#include "WideText.h"

namespace {

const char kKeySeparator = '+';
const char* const kNoKeys = "-";
// Ten hours: a replay holds no more.
constexpr double kMaxSeconds = 36000.0;

const std::map<std::string, StepKeys>& KeyNames() {
    static const std::map<std::string, StepKeys> names{
        {"Left", kStepLeft}, {"Right", kStepRight}, {"Up", kStepUp}, {"Down", kStepDown}, {"Enter", kStepEnter}};
    return names;
}

[[noreturn]] void Fail(const std::string& path, int line, const std::string& reason) {
    throw k_Failure(FromUtf8(path + ":" + std::to_string(line) + ": " + reason));
}

StepKeys ParseKeys(const std::string& text, const std::string& path, int line) {
    StepKeys keys = 0;
    if (text == kNoKeys) {
        return keys;
    }
    std::istringstream names(text);
    std::string name;
    while (std::getline(names, name, kKeySeparator)) {
        auto key = KeyNames().find(name);
        if (key == KeyNames().end()) {
            Fail(path, line, "unknown key \"" + name + "\" (Left, Right, Up, Down, Enter or -)");
        }
        keys |= key->second;
    }
    return keys;
}

}  // namespace

std::vector<ScriptStep> ReadSolutionScript(const std::string& path) {
    std::ifstream file(path);
    if (!file) {
        throw k_Failure(FromUtf8("Cannot read the solution script " + path));
    }
    std::vector<ScriptStep> steps;
    std::string text;
    for (int line = 1; std::getline(file, text); ++line) {
        std::istringstream fields(text.substr(0, text.find('#')));
        ScriptStep step;
        if (!(fields >> step.seconds)) {
            if (fields.eof()) {
                continue;  // blank or comment only
            }
            Fail(path, line, "expected \"<seconds> <keys>\"");
        }
        std::string extra;
        if (!(step.seconds >= 0.0 && step.seconds <= kMaxSeconds) || !(fields >> step.keyText) || (fields >> extra)) {
            Fail(path, line, "expected \"<seconds> <keys>\" with seconds from 0 to 36000");
        }
        step.keys = ParseKeys(step.keyText, path, line);
        step.line = line;
        steps.push_back(step);
    }
    return steps;
}

std::vector<StepKeys> ScriptToSteps(const std::vector<ScriptStep>& script, double stepSeconds) {
    std::vector<StepKeys> steps;
    for (const ScriptStep& step : script) {
        steps.insert(steps.end(), static_cast<std::size_t>(std::llround(step.seconds / stepSeconds)), step.keys);
    }
    return steps;
}
