#include "tools/playthrough/SolutionScript.h"

#include <fstream>
#include <map>
#include <sstream>

#include "Failure.h"
#include "WideText.h"
#include "platform/VirtualKeys.h"

namespace {

const char kKeySeparator = '+';
const char* const kNoKeys = "-";

const std::map<std::string, int>& KeyNames() {
    static const std::map<std::string, int> names{
        {"Left", VK_LEFT}, {"Right", VK_RIGHT}, {"Up", VK_UP}, {"Down", VK_DOWN}};
    return names;
}

[[noreturn]] void Fail(const std::string& path, int line, const std::string& reason) {
    throw k_Failure(FromUtf8(path + ":" + std::to_string(line) + ": " + reason));
}

std::vector<int> ParseKeys(const std::string& text, const std::string& path, int line) {
    std::vector<int> keys;
    if (text == kNoKeys) {
        return keys;
    }
    std::istringstream names(text);
    std::string name;
    while (std::getline(names, name, kKeySeparator)) {
        auto key = KeyNames().find(name);
        if (key == KeyNames().end()) {
            Fail(path, line, "unknown key \"" + name + "\" (Left, Right, Up, Down or -)");
        }
        keys.push_back(key->second);
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
        if (step.seconds < 0.0 || !(fields >> step.keyText) || (fields >> extra)) {
            Fail(path, line, "expected \"<seconds> <keys>\" with seconds >= 0");
        }
        step.keys = ParseKeys(step.keyText, path, line);
        step.line = line;
        steps.push_back(step);
    }
    return steps;
}
