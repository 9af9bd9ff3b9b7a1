#include "app/GameSettings.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "WideText.h"
#include "app/KeyNames.h"
#include "base/AtomicFile.h"
#include "base/KeyValueLines.h"
#include "base/SmallFile.h"
#include "base/UserFolders.h"
#include "platform/VirtualKeys.h"

namespace {

const char* const kFileName = "settings.ini";
const char* const kKeyPrefix = "key.";
const char* const kPadPrefix = "pad.";
const char* const kActionNames[kKeyActionCount] = {"left", "right", "up", "down", "enter", "menu"};
// A settings file is a few hundred bytes; anything far larger is not one.
constexpr std::uintmax_t kMaxFileBytes = 64 * 1024;
constexpr int kMaxVolumeDigits = 3;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool ReadSwitch(const std::string& value, bool& target) {
    if (value != "0" && value != "1") {
        return false;
    }
    target = value == "1";
    return true;
}

bool ReadScaling(const std::string& value, SceneScaling& target) {
    const std::string lower = Lower(value);
    if (lower != "smooth" && lower != "sharp") {
        return false;
    }
    target = lower == "sharp" ? SceneScaling::Sharp : SceneScaling::Smooth;
    return true;
}

bool ReadVolume(const std::string& value, int& target) {
    const bool digits = !value.empty() && value.size() <= kMaxVolumeDigits &&
                        std::all_of(value.begin(), value.end(), [](unsigned char c) { return std::isdigit(c); });
    if (!digits || std::stoi(value) > GameSettings::kFullVolume) {
        return false;
    }
    target = std::stoi(value);
    return true;
}

// A keyboard key for a key. line, a controller's button for a pad. line.
bool ReadKey(const std::string& value, bool controller, int& target) {
    const std::optional<int> code = KeyCodeOfName(value);
    if (!code || IsControllerKey(*code) != controller) {
        return false;
    }
    target = *code;
    return true;
}

// One setting: its key in the file, what a good value looks like, how it is read and written.
struct SettingField {
    std::string key;
    std::string expected;
    std::function<bool(const std::string&, GameSettings&)> read;
    std::function<std::string(const GameSettings&)> write;
};

std::vector<SettingField> SettingFields() {
    std::vector<SettingField> fields = {
        {"fullscreen", "1 or 0", [](const std::string& v, GameSettings& s) { return ReadSwitch(v, s.fullscreen); },
         [](const GameSettings& s) { return std::string(s.fullscreen ? "1" : "0"); }},
        {"scaling", "smooth or sharp", [](const std::string& v, GameSettings& s) { return ReadScaling(v, s.scaling); },
         [](const GameSettings& s) { return std::string(s.scaling == SceneScaling::Sharp ? "sharp" : "smooth"); }},
        {"music_volume", "0 to 100", [](const std::string& v, GameSettings& s) { return ReadVolume(v, s.musicVolume); },
         [](const GameSettings& s) { return std::to_string(s.musicVolume); }},
        {"effects_volume", "0 to 100",
         [](const std::string& v, GameSettings& s) { return ReadVolume(v, s.effectsVolume); },
         [](const GameSettings& s) { return std::to_string(s.effectsVolume); }},
        {"hud", "1 or 0", [](const std::string& v, GameSettings& s) { return ReadSwitch(v, s.hud); },
         [](const GameSettings& s) { return std::string(s.hud ? "1" : "0"); }},
    };
    for (std::size_t action = 0; action < kKeyActionCount; ++action) {
        fields.push_back({kKeyPrefix + std::string(kActionNames[action]), "a key name such as Left, A or Space",
                          [action](const std::string& v, GameSettings& s) { return ReadKey(v, false, s.keys[action]); },
                          [action](const GameSettings& s) { return NameOfKeyCode(s.keys[action]); }});
    }
    for (std::size_t action = 0; action < kKeyActionCount; ++action) {
        fields.push_back({kPadPrefix + std::string(kActionNames[action]), "a controller button such as PadA or PadLeft",
                          [action](const std::string& v, GameSettings& s) { return ReadKey(v, true, s.pads[action]); },
                          [action](const GameSettings& s) { return NameOfKeyCode(s.pads[action]); }});
    }
    return fields;
}

using Bindings = std::array<int, kKeyActionCount>;

// The line of the file each action's binding came from, by action; 0 for a default.
Bindings BindingLines(const std::map<std::string, int>& lineOfSetting, const char* prefix) {
    Bindings lines{};
    for (std::size_t action = 0; action < kKeyActionCount; ++action) {
        auto line = lineOfSetting.find(prefix + std::string(kActionNames[action]));
        lines[action] = line == lineOfSetting.end() ? 0 : line->second;
    }
    return lines;
}

// One key steering two actions, or a key the game keeps for itself, would make the steps
// ambiguous (a replay could not press one action without the other), so such bindings go back
// to the defaults, all of one kind together so that no default clashes with a kept binding.
void KeepBindingsApart(Bindings& bound, const Bindings& defaults, const Bindings& lines, const char* prefix,
                       const std::string& file, std::ostream& warnings) {
    for (std::size_t action = 0; action < kKeyActionCount; ++action) {
        std::size_t blamed = action;
        const char* problem = IsReservedKey(bound[action]) ? "cannot be bound" : nullptr;
        for (std::size_t earlier = 0; earlier < action && !problem; ++earlier) {
            if (bound[earlier] == bound[action]) {
                blamed = lines[earlier] > lines[action] ? earlier : action;
                problem = "is bound to another action too";
            }
        }
        if (problem) {
            warnings << file << ":" << lines[blamed] << ": " << NameOfKeyCode(bound[blamed]) << " for " << prefix
                     << kActionNames[blamed] << " " << problem << "; keeping the default " << prefix << "* bindings\n";
            bound = defaults;
            return;
        }
    }
}

// The file's bytes, or nothing (with a warning) when it is not a readable regular text file
// of a sensible size. A missing file is the usual first run and goes without a word.
std::optional<std::string> ReadSettingsText(const std::filesystem::path& file, std::ostream& warnings) {
    std::string text;
    const char* problem = nullptr;
    switch (ReadSmallFile(file, kMaxFileBytes, text)) {
    case SmallFileProblem::None:
        problem = text.find('\0') != std::string::npos ? "is not text" : nullptr;
        break;
    case SmallFileProblem::Missing:
        return std::nullopt;
    case SmallFileProblem::NotRegular:
        problem = "is not a regular file";
        break;
    case SmallFileProblem::TooLarge:
        problem = "is too large for a settings file";
        break;
    case SmallFileProblem::Unreadable:
        problem = "cannot be read";
        break;
    }
    if (problem) {
        warnings << file.string() << ": " << problem << "; the default settings are used\n";
        return std::nullopt;
    }
    return text;
}

}  // namespace

std::array<int, kKeyActionCount> GameSettings::DefaultKeys() {
    return {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_RETURN, 'P'};
}

std::array<int, kKeyActionCount> GameSettings::DefaultPads() {
    return {VK_GAMEPAD_DPAD_LEFT, VK_GAMEPAD_DPAD_RIGHT, VK_GAMEPAD_DPAD_UP, VK_GAMEPAD_DPAD_DOWN, VK_GAMEPAD_A,
            VK_GAMEPAD_MENU};
}

bool IsReservedKey(int virtualKey) {
    return virtualKey == VK_ESCAPE || virtualKey == VK_F12 || virtualKey == VK_PAUSE;
}

bool GameSettings::operator==(const GameSettings& other) const {
    return fullscreen == other.fullscreen && scaling == other.scaling && musicVolume == other.musicVolume &&
           effectsVolume == other.effectsVolume && hud == other.hud && keys == other.keys && pads == other.pads;
}

std::filesystem::path GameSettingsPath() { return UserConfigFolder() / kFileName; }

GameSettings ReadGameSettings(const std::filesystem::path& file, std::ostream& warnings) {
    GameSettings settings;
    const std::optional<std::string> text = ReadSettingsText(file, warnings);
    if (!text) {
        return settings;
    }
    std::vector<int> malformed;
    const std::vector<KeyValueLine> lines = ReadKeyValueLines(*text, malformed);
    for (int number : malformed) {
        warnings << file.string() << ":" << number << ": not a \"key = value\" line; ignored\n";
    }
    const std::vector<SettingField> fields = SettingFields();
    std::map<std::string, int> lineOfSetting;
    for (const KeyValueLine& line : lines) {
        const std::string key = Lower(line.key);
        const auto field = std::find_if(fields.begin(), fields.end(), [&](const SettingField& f) { return f.key == key; });
        if (field == fields.end()) {
            warnings << file.string() << ":" << line.number << ": unknown setting \"" << line.key << "\"; ignored\n";
        } else if (!field->read(line.value, settings)) {
            warnings << file.string() << ":" << line.number << ": \"" << line.value << "\" is not a value of "
                     << field->key << " (" << field->expected << "); keeping " << field->write(settings) << "\n";
        } else {
            lineOfSetting[field->key] = line.number;
        }
    }
    KeepBindingsApart(settings.keys, GameSettings::DefaultKeys(), BindingLines(lineOfSetting, kKeyPrefix), kKeyPrefix,
                      file.string(), warnings);
    KeepBindingsApart(settings.pads, GameSettings::DefaultPads(), BindingLines(lineOfSetting, kPadPrefix), kPadPrefix,
                      file.string(), warnings);
    return settings;
}

void WriteGameSettings(const std::filesystem::path& file, const GameSettings& settings) {
    std::ostringstream text;
    text << "# Rollandia's settings: one \"key = value\" a line; the game rewrites this file.\n";
    for (const SettingField& field : SettingFields()) {
        text << field.key << " = " << field.write(settings) << "\n";
    }
    MakeUserFolder(file.parent_path());
    WriteFileAtomically(file, text.str(), L"Cannot save the settings ", FromUtf8(file.string()));
}
