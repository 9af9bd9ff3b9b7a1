// What the level editor keeps between sessions in editor.ini in the user's configuration
// folder: the grid, the tool, the palette's filter and the last level opened, as key = value
// lines. A missing or damaged file, or a value that makes no sense, gives the default for that
// setting: the editor always starts.
#pragma once

#include <filesystem>
#include <string>

struct EditorPreferences {
    int grid = 0;  // 0: no grid
    bool placing = false;
    std::wstring paletteFilter;
    std::filesystem::path lastLevel;  // empty: none yet

    bool operator==(const EditorPreferences& other) const {
        return grid == other.grid && placing == other.placing && paletteFilter == other.paletteFilter &&
               lastLevel == other.lastLevel;
    }
};

// $XDG_CONFIG_HOME/rollandia/editor.ini
std::filesystem::path EditorPreferencesPath();

// The kept preferences; a missing or damaged file (not a regular file, far too large, unknown
// lines or values) gives the defaults for what it lacks.
EditorPreferences ReadEditorPreferences(const std::filesystem::path& file);
// Writes the file atomically, making its folder; raises k_Failure when it cannot.
void WriteEditorPreferences(const std::filesystem::path& file, const EditorPreferences& preferences);
