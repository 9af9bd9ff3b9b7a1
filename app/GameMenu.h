// The game menu as a model, without a display: its pages and their lines, the selection, what
// the keys do, and the options as the player changes them. The game feeds it key presses and
// carries out the commands it answers with; the menu drawing shows its lines.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/GameSettings.h"
#include "app/Journey.h"

enum class MenuPage { Main, Worlds, Replays, Options, Controls, Help };

struct MenuCommand {
    enum class Kind { None, Resume, Restart, StartWorld, PlayReplay, Quit, SettingsChanged };
    MenuCommand(Kind kind = Kind::None, std::string world = {}, std::filesystem::path replay = {})
        : kind(kind), world(std::move(world)), replay(std::move(replay)) {}

    Kind kind;
    std::string world;               // StartWorld: the world's name
    std::filesystem::path replay;    // PlayReplay: the replay file
};

struct MenuLine {
    std::string label;
    std::string value;       // shown at the right; empty for none
    bool choosable = true;   // false for a line that only informs
};

class GameMenu {
public:
    explicit GameMenu(GameSettings settings) : settings(std::move(settings)) {}

    // Opens on the main page with the worlds as the player knows them and the last run's
    // replay (an empty path when there is none).
    void Open(std::vector<WorldRecord> worlds, std::filesystem::path lastReplay);
    // Opens on the main page again, keeping the worlds and replays it knows.
    void Reopen();
    bool IsOpen() const { return open; }
    void Close() {
        open = false;
        awaiting.reset();
    }
    // The key opens the menu (the bound menu key, or Pause, which a controller's Start sends).
    bool IsMenuKey(int virtualKey) const;

    // A key pressed while the menu is open: arrows (or the bound direction keys) move and
    // change values, Enter (or the bound one) chooses, the menu key closes. While a key is
    // awaited for an action, the key pressed is bound (Escape cancels).
    MenuCommand Press(int virtualKey);

    MenuPage Page() const { return page; }
    std::string Title() const;
    std::vector<MenuLine> Lines() const;
    int Selected() const { return selected; }
    // A short remark for the player under the lines: a key awaited, a binding refused or swapped.
    const std::string& Remark() const { return remark; }
    void SetRemark(std::string text) { remark = std::move(text); }
    bool IsAwaitingKey() const { return awaiting.has_value(); }
    const GameSettings& Settings() const { return settings; }


private:
    enum class Move { None, Up, Down, Left, Right, Choose, Close };

    Move MoveOfKey(int virtualKey) const;
    MenuCommand Choose();
    MenuCommand ChooseOnMain();
    MenuCommand ChooseOnOptions(int change);
    MenuCommand ChooseOnControls();
    MenuCommand BindAwaitedKey(int virtualKey);
    void GoTo(MenuPage newPage);
    std::vector<std::filesystem::path> ReplayFiles() const;
    std::vector<MenuLine> OptionLines() const;
    std::vector<MenuLine> ControlLines() const;
    std::vector<MenuLine> HelpLines() const;
    std::vector<MenuLine> WorldLines() const;
    std::vector<MenuLine> ReplayLines() const;

    GameSettings settings;
    std::vector<WorldRecord> worlds;
    std::filesystem::path lastReplay;
    bool open = false;
    MenuPage page = MenuPage::Main;
    int selected = 0;
    std::optional<KeyAction> awaiting;
    std::string remark;
};
