// The player's settings, kept in settings.ini in the user's configuration folder: display,
// volumes, the heads-up display and the key of each action. Reading never stops the game: a
// missing or unusable file gives the defaults, and a bad line is skipped with a warning.
#pragma once

#include <array>
#include <filesystem>
#include <ostream>

#include "SceneScaling.h"

// The actions a key can be bound to, in the order the file lists them.
enum class KeyAction { Left, Right, Up, Down, Enter, Menu };
constexpr std::size_t kKeyActionCount = 6;

struct GameSettings {
    static constexpr int kFullVolume = 100;  // today's level; 0 is silent

    bool fullscreen = true;
    SceneScaling scaling = SceneScaling::Smooth;
    int musicVolume = kFullVolume;
    int effectsVolume = kFullVolume;
    bool hud = false;
    std::array<int, kKeyActionCount> keys = DefaultKeys();  // by KeyAction
    std::array<int, kKeyActionCount> pads = DefaultPads();  // a controller's buttons, by KeyAction

    static std::array<int, kKeyActionCount> DefaultKeys();
    static std::array<int, kKeyActionCount> DefaultPads();
    bool operator==(const GameSettings& other) const;
};

// Keys that keep their own meaning and are never bound: quitting, the screenshot, and the
// menu's second key.
bool IsReservedKey(int virtualKey);

// $XDG_CONFIG_HOME/rollandia/settings.ini
std::filesystem::path GameSettingsPath();

// Reads the file over the defaults. Anything that is not a regular file, cannot be read, or
// is not text gives the defaults; each unknown key, bad value or line without "=" keeps the
// default and is reported on warnings as "FILE:LINE: ...". A reserved key, or one key bound to
// two actions, puts every keyboard binding (or every controller one) back to its default.
GameSettings ReadGameSettings(const std::filesystem::path& file, std::ostream& warnings);

// Writes every setting, atomically, making the folder when needed; raises k_Failure naming
// the file when it cannot be written.
void WriteGameSettings(const std::filesystem::path& file, const GameSettings& settings);
