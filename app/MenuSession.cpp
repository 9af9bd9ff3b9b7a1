#include "app/MenuSession.h"

#include <iostream>

#include "Failure.h"
#include "IEngine.h"
#include "IGraphics.h"
#include "IWindow.h"
#include "app/Journey.h"
#include "app/KeyNames.h"
#include "app/MenuDrawing.h"
#include "app/Replay.h"
#include "platform/VirtualKeys.h"

namespace {

// The music plays at a third of its level while the menu is open.
constexpr int kMenuMusicDivisor = 3;

}  // namespace

MenuSession::MenuSession(IEngine& engine, const GameSettings& settings, std::filesystem::path settingsFile,
                         std::string levelDigest)
    : engine(engine),
      menu(settings),
      settingsFile(std::move(settingsFile)),
      levelDigest(std::move(levelDigest)),
      boundKeys(settings.keys),
      boundPads(settings.pads) {
    BindStepKeys(engine, boundKeys, boundPads);
}

bool MenuSession::OnKeyDown(int virtualKey, StepInput& input) {
    if (watching) {
        if (virtualKey != VK_ESCAPE && !menu.IsMenuKey(virtualKey)) {
            return false;
        }
        StopWatching(input);
        return true;
    }
    if (!menu.IsOpen()) {
        if (!menu.IsMenuKey(virtualKey)) {
            return false;
        }
        // The run so far becomes the last replay, which the menu offers to watch.
        KeepRun(input);
        Open();
        return true;
    }
    // Escape ends the game, from the menu as from play; only a key awaited for an action takes it.
    if (virtualKey == VK_ESCAPE && !menu.IsAwaitingKey()) {
        return false;
    }
    Carry(menu.Press(virtualKey), input);
    return true;
}

void MenuSession::Open() {
    const std::filesystem::path last = LastReplayPath();
    std::error_code error;
    menu.Open(ListWorldRecords(engine), std::filesystem::is_regular_file(last, error) ? last : std::filesystem::path());
    ApplySettings();
}

void MenuSession::Close() { ApplySettings(); }

void MenuSession::Carry(const MenuCommand& command, StepInput& input) {
    switch (command.kind) {
    case MenuCommand::Kind::None:
        return;
    case MenuCommand::Kind::Resume:
        Close();
        return;
    case MenuCommand::Kind::Restart:
        Close();
        input.RequestRestart();
        return;
    case MenuCommand::Kind::StartWorld:
        Close();
        KeepRun(input);
        StartRun(command.world, input);
        return;
    case MenuCommand::Kind::PlayReplay:
        Watch(command.replay);
        return;
    case MenuCommand::Kind::Quit:
        Close();
        quitChosen = true;
        return;
    case MenuCommand::Kind::SettingsChanged:
        ApplySettings();
        try {
            WriteGameSettings(settingsFile, menu.Settings());
        } catch (const k_Failure& failure) {
            std::cerr << failure.what() << std::endl;
            menu.SetRemark("The settings could not be saved");
        }
        return;
    }
}

// Keys, scaling and volumes take effect at once (full screen at the next start). When the
// bindings change, the keys the window holds for the old ones are let go first, so that none
// stays held unbound.
void MenuSession::ApplySettings() {
    const GameSettings& settings = menu.Settings();
    if (settings.keys != boundKeys || settings.pads != boundPads) {
        PressStepKeys(*engine.GetWindow(), 0);
        boundKeys = settings.keys;
        boundPads = settings.pads;
        BindStepKeys(engine, boundKeys, boundPads);
    }
    engine.GetGraphics()->SetSceneScaling(settings.scaling);
    const int music = menu.IsOpen() ? settings.musicVolume / kMenuMusicDivisor : settings.musicVolume;
    engine.SetVolumes(music, settings.effectsVolume);
}

void MenuSession::StartRun(const std::string& world, StepInput& input) {
    StartWorld(engine, world);
    input = StepInput();
}

// The player's run ends: it was kept as the last replay when the menu opened.
void MenuSession::Watch(const std::filesystem::path& file) {
    Replay replay;
    try {
        replay = ReadReplayFile(file);
    } catch (const k_Failure& failure) {
        std::cerr << failure.what() << std::endl;
        menu.SetRemark("That replay cannot be read");
        return;
    }
    playerWorld = CurrentRunReplay().world;
    SetWatchingReplay(true);
    if (replay.levelDigest != levelDigest || !StartWorld(engine, replay.world)) {
        SetWatchingReplay(false);
        menu.SetRemark("That replay was recorded on another level");
        return;
    }
    watching.emplace(std::move(replay.steps));
    menu.Close();
    ApplySettings();
}

void MenuSession::StopWatching(StepInput& input) {
    watching.reset();
    SetWatchingReplay(false);
    PressStepKeys(*engine.GetWindow(), 0);
    StartRun(playerWorld, input);
    Open();
}

void MenuSession::KeepRun(const StepInput& input) {
    const Replay run = CurrentRunReplay();
    if (input.IsReplay() || run.steps.empty()) {
        return;
    }
    try {
        WriteReplayFile(LastReplayPath(), run);
    } catch (const k_Failure& failure) {
        std::cerr << failure.what() << std::endl;
    }
}

void MenuSession::DrawOverlay() {
    if (menu.IsOpen()) {
        DrawGameMenu(menu);
    } else if (watching) {
        DrawWatchingNote(NameOfKeyCode(menu.Settings().keys[static_cast<std::size_t>(KeyAction::Menu)]));
    } else if (menu.Settings().hud) {
        DrawRunHud(CurrentRunStats());
    }
}
