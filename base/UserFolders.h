// Where the game keeps what belongs to the player rather than to the install: settings in the
// configuration folder, replays and best times in the data folder, logs in the state folder.
// Each follows its XDG variable when that names an absolute path, else the usual default
// under the home folder, and always ends in "rollandia".
#pragma once

#include <filesystem>

// $XDG_CONFIG_HOME/rollandia, default ~/.config/rollandia
std::filesystem::path UserConfigFolder();
// $XDG_DATA_HOME/rollandia, default ~/.local/share/rollandia
std::filesystem::path UserDataFolder();
// $XDG_STATE_HOME/rollandia, default ~/.local/state/rollandia
std::filesystem::path UserStateFolder();

// Makes the folder and its parents (only the user may enter new ones); false when it cannot be
// made or is not a folder.
bool MakeUserFolder(const std::filesystem::path& folder);
