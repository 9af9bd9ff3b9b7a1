// The game menu at work in a running game: opens it on the menu key with the simulation
// paused and the music lowered, carries out what is chosen (restart, another world, a replay
// watched in the game, quitting), applies options at once and keeps them in the settings file,
// and draws the menu, the heads-up display or the replay note over the picture.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/GameMenu.h"
#include "app/GameSettings.h"
#include "app/StepInput.h"

class IEngine;

class MenuSession {
public:
    // levelDigest is the loaded level's, which a replay chosen from the menu must match.
    MenuSession(IEngine& engine, const GameSettings& settings, std::filesystem::path settingsFile,
                std::string levelDigest);

    // The simulation stops while this holds.
    bool IsOpen() const { return menu.IsOpen(); }
    bool QuitChosen() const { return quitChosen; }
    // The replay chosen from the menu while it plays; null otherwise.
    StepInput* Watching() { return watching ? &*watching : nullptr; }

    // The key opens and closes the menu.
    bool IsMenuKey(int virtualKey) const { return menu.IsMenuKey(virtualKey); }
    // A key pressed in the game; true when the menu took it (it then reaches nothing else).
    // `input` is the player's, which a restart or another world starts afresh.
    bool OnKeyDown(int virtualKey, StepInput& input);
    // Ends the replay being watched: the player's world starts again and the menu reopens.
    void StopWatching(StepInput& input);
    // Draws the menu, the replay note or the heads-up display, whichever is due.
    void DrawOverlay();

private:
    void Open();
    void Close();
    void Carry(const MenuCommand& command, StepInput& input);
    void ApplySettings();
    void StartRun(const std::string& world, StepInput& input);
    void Watch(const std::filesystem::path& file);
    void KeepRun(const StepInput& input);

    IEngine& engine;
    GameMenu menu;
    std::filesystem::path settingsFile;
    std::string levelDigest;
    std::string playerWorld;  // while a replay is watched, the world of the player's run, to go back to
    std::array<int, kKeyActionCount> boundKeys;
    std::array<int, kKeyActionCount> boundPads;
    std::optional<StepInput> watching;
    bool quitChosen = false;
};
