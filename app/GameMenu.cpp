#include "app/GameMenu.h"

#include <algorithm>

#include "app/KeyNames.h"
#include "platform/VirtualKeys.h"

namespace {

constexpr int kVolumeStep = 10;

const char* const kMainItems[] = {"Resume", "Restart", "Worlds", "Replays", "Options", "Keys and help", "Quit"};
enum MainItem { kResume, kRestart, kWorlds, kReplays, kOptions, kHelp, kQuit };
enum OptionItem { kFullscreen, kScaling, kMusic, kEffects, kHud, kControls, kOptionsBack };
const char* const kActionLabels[kKeyActionCount] = {"Left", "Right", "Up", "Down", "Enter", "Menu"};

std::string OnOff(bool on) { return on ? "On" : "Off"; }
std::string Percent(int volume) { return std::to_string(volume) + " %"; }

MenuLine Back() { return {"Back", "", true}; }

bool IsChoosable(const std::vector<MenuLine>& lines, int index) {
    return index >= 0 && index < static_cast<int>(lines.size()) && lines[static_cast<std::size_t>(index)].choosable;
}

// The next choosable line from `from` in `direction`, wrapping around; `from` when none.
int NextChoosable(const std::vector<MenuLine>& lines, int from, int direction) {
    const int count = static_cast<int>(lines.size());
    for (int step = 1; step <= count; ++step) {
        const int index = ((from + direction * step) % count + count) % count;
        if (IsChoosable(lines, index)) {
            return index;
        }
    }
    return from;
}

int ChangedVolume(int volume, int change) {
    return std::clamp(volume + change * kVolumeStep, 0, GameSettings::kFullVolume);
}

}  // namespace

void GameMenu::Open(std::vector<WorldRecord> knownWorlds, std::filesystem::path lastRun) {
    worlds = std::move(knownWorlds);
    lastReplay = std::move(lastRun);
    Reopen();
}

void GameMenu::Reopen() {
    open = true;
    awaiting.reset();
    GoTo(MenuPage::Main);
}

bool GameMenu::IsMenuKey(int virtualKey) const {
    const std::size_t menu = static_cast<std::size_t>(KeyAction::Menu);
    return virtualKey == settings.keys[menu] || virtualKey == settings.pads[menu] || virtualKey == VK_PAUSE;
}

GameMenu::Move GameMenu::MoveOfKey(int virtualKey) const {
    if (IsMenuKey(virtualKey)) {
        return Move::Close;
    }
    // The bound keys and buttons first; the default ones still find the way through the menu.
    const Move moves[kKeyActionCount] = {Move::Left, Move::Right, Move::Up, Move::Down, Move::Choose, Move::Close};
    for (const auto& table : {settings.keys, settings.pads, GameSettings::DefaultKeys(), GameSettings::DefaultPads()}) {
        for (std::size_t action = 0; action < kKeyActionCount; ++action) {
            if (table[action] == virtualKey) {
                return moves[action];
            }
        }
    }
    return Move::None;
}

MenuCommand GameMenu::Press(int virtualKey) {
    if (!open) {
        return {};
    }
    if (awaiting) {
        return BindAwaitedKey(virtualKey);
    }
    remark.clear();
    const std::vector<MenuLine> lines = Lines();
    switch (MoveOfKey(virtualKey)) {
    case Move::Up:
        selected = NextChoosable(lines, selected, -1);
        return {};
    case Move::Down:
        selected = NextChoosable(lines, selected, 1);
        return {};
    case Move::Left:
    case Move::Right:
        return page == MenuPage::Options && selected < kControls
                   ? ChooseOnOptions(MoveOfKey(virtualKey) == Move::Left ? -1 : 1)
                   : MenuCommand{};
    case Move::Choose:
        return IsChoosable(lines, selected) ? Choose() : MenuCommand{};
    case Move::Close:
        open = false;
        return {MenuCommand::Kind::Resume};
    case Move::None:
        return {};
    }
    return {};
}

MenuCommand GameMenu::Choose() {
    const int lineCount = static_cast<int>(Lines().size());
    const bool back = selected == lineCount - 1 && page != MenuPage::Main;
    if (back) {
        GoTo(page == MenuPage::Controls ? MenuPage::Options : MenuPage::Main);
        return {};
    }
    switch (page) {
    case MenuPage::Main:
        return ChooseOnMain();
    case MenuPage::Worlds:
        open = false;
        return {MenuCommand::Kind::StartWorld, worlds[static_cast<std::size_t>(selected)].name};
    case MenuPage::Replays:
        return {MenuCommand::Kind::PlayReplay, {}, ReplayFiles()[static_cast<std::size_t>(selected)]};
    case MenuPage::Options:
        return ChooseOnOptions(0);
    case MenuPage::Controls:
        return ChooseOnControls();
    case MenuPage::Help:
        return {};
    }
    return {};
}

MenuCommand GameMenu::ChooseOnMain() {
    switch (selected) {
    case kResume:
        open = false;
        return {MenuCommand::Kind::Resume};
    case kRestart:
        open = false;
        return {MenuCommand::Kind::Restart};
    case kWorlds:
        GoTo(MenuPage::Worlds);
        return {};
    case kReplays:
        GoTo(MenuPage::Replays);
        return {};
    case kOptions:
        GoTo(MenuPage::Options);
        return {};
    case kHelp:
        GoTo(MenuPage::Help);
        return {};
    default:
        open = false;
        return {MenuCommand::Kind::Quit};
    }
}

// Switches turn over whichever way; volumes go down with -1 and up with +1; choosing (0) goes
// up and wraps from full to silent.
MenuCommand GameMenu::ChooseOnOptions(int change) {
    switch (selected) {
    case kFullscreen:
        settings.fullscreen = !settings.fullscreen;
        remark = "Takes effect at the next start";
        break;
    case kScaling:
        settings.scaling = settings.scaling == SceneScaling::Smooth ? SceneScaling::Sharp : SceneScaling::Smooth;
        break;
    case kMusic:
    case kEffects: {
        int& volume = selected == kMusic ? settings.musicVolume : settings.effectsVolume;
        const bool wraps = change == 0 && volume == GameSettings::kFullVolume;
        volume = wraps ? 0 : ChangedVolume(volume, change == 0 ? 1 : change);
        break;
    }
    case kHud:
        settings.hud = !settings.hud;
        break;
    case kControls:
        GoTo(MenuPage::Controls);
        return {};
    default:
        return {};
    }
    return {MenuCommand::Kind::SettingsChanged};
}

MenuCommand GameMenu::ChooseOnControls() {
    if (selected < static_cast<int>(kKeyActionCount)) {
        awaiting = static_cast<KeyAction>(selected);
        remark = std::string("Press a key or a button for ") + kActionLabels[selected] + " (Escape cancels)";
        return {};
    }
    settings.keys = GameSettings::DefaultKeys();
    settings.pads = GameSettings::DefaultPads();
    remark = "The default keys are back";
    return {MenuCommand::Kind::SettingsChanged};
}

// A controller's button binds the action's button, any other key its keyboard key. One
// already bound to another action swaps with the awaited action's, so that every action keeps
// a key and a button of its own.
MenuCommand GameMenu::BindAwaitedKey(int virtualKey) {
    const std::size_t action = static_cast<std::size_t>(*awaiting);
    awaiting.reset();
    if (virtualKey == VK_ESCAPE) {
        remark.clear();
        return {};
    }
    if (IsReservedKey(virtualKey) || NameOfKeyCode(virtualKey).empty()) {
        remark = "That key cannot be bound; try another";
        return {};
    }
    std::array<int, kKeyActionCount>& bindings = IsControllerKey(virtualKey) ? settings.pads : settings.keys;
    const int previous = bindings[action];
    remark.clear();
    for (std::size_t other = 0; other < kKeyActionCount; ++other) {
        if (other != action && bindings[other] == virtualKey) {
            bindings[other] = previous;
            remark = std::string(kActionLabels[other]) + " swapped to " + NameOfKeyCode(previous);
        }
    }
    bindings[action] = virtualKey;
    return {MenuCommand::Kind::SettingsChanged};
}

void GameMenu::GoTo(MenuPage newPage) {
    page = newPage;
    const std::vector<MenuLine> lines = Lines();
    selected = IsChoosable(lines, 0) ? 0 : NextChoosable(lines, 0, 1);
}

std::string GameMenu::Title() const {
    static const char* const kTitles[] = {"Paused", "Worlds", "Replays", "Options", "Controls", "Keys and help"};
    return kTitles[static_cast<int>(page)];
}

std::vector<MenuLine> GameMenu::Lines() const {
    switch (page) {
    case MenuPage::Main: {
        std::vector<MenuLine> lines;
        for (const char* item : kMainItems) {
            lines.push_back({item, "", true});
        }
        return lines;
    }
    case MenuPage::Worlds:
        return WorldLines();
    case MenuPage::Replays:
        return ReplayLines();
    case MenuPage::Options:
        return OptionLines();
    case MenuPage::Controls:
        return ControlLines();
    case MenuPage::Help:
        return HelpLines();
    }
    return {};
}

std::vector<MenuLine> GameMenu::WorldLines() const {
    std::vector<MenuLine> lines;
    for (const WorldRecord& world : worlds) {
        const std::string best = world.bestSteps ? "best " + FormatRunTime(*world.bestSteps) : "";
        lines.push_back({world.name, world.reached ? best : "not reached yet", world.reached});
    }
    lines.push_back(Back());
    return lines;
}

// The last run first, then each world's best run; the same order as ReplayFiles.
std::vector<MenuLine> GameMenu::ReplayLines() const {
    std::vector<MenuLine> lines;
    if (!lastReplay.empty()) {
        lines.push_back({"Last run", "", true});
    }
    for (const WorldRecord& world : worlds) {
        if (!world.bestReplay.empty()) {
            lines.push_back({"Best run in " + world.name, world.bestSteps ? FormatRunTime(*world.bestSteps) : "", true});
        }
    }
    if (lines.empty()) {
        lines.push_back({"No replays yet", "", false});
    }
    lines.push_back(Back());
    return lines;
}

std::vector<std::filesystem::path> GameMenu::ReplayFiles() const {
    std::vector<std::filesystem::path> files;
    if (!lastReplay.empty()) {
        files.push_back(lastReplay);
    }
    for (const WorldRecord& world : worlds) {
        if (!world.bestReplay.empty()) {
            files.push_back(world.bestReplay);
        }
    }
    return files;
}

std::vector<MenuLine> GameMenu::OptionLines() const {
    return {
        {"Full screen", OnOff(settings.fullscreen), true},
        {"Scaling", settings.scaling == SceneScaling::Sharp ? "Sharp" : "Smooth", true},
        {"Music volume", Percent(settings.musicVolume), true},
        {"Effects volume", Percent(settings.effectsVolume), true},
        {"Time and deaths", OnOff(settings.hud), true},
        {"Controls", "", true},
        Back(),
    };
}

std::vector<MenuLine> GameMenu::ControlLines() const {
    std::vector<MenuLine> lines;
    for (std::size_t action = 0; action < kKeyActionCount; ++action) {
        lines.push_back(
            {kActionLabels[action], NameOfKeyCode(settings.keys[action]) + "  " + NameOfKeyCode(settings.pads[action]), true});
    }
    lines.push_back({"Default keys", "", true});
    lines.push_back(Back());
    return lines;
}

std::vector<MenuLine> GameMenu::HelpLines() const {
    auto key = [this](KeyAction action) { return NameOfKeyCode(settings.keys[static_cast<std::size_t>(action)]); };
    return {
        {key(KeyAction::Left) + ", " + key(KeyAction::Right), "roll", false},
        {key(KeyAction::Up), "bounce higher", false},
        {key(KeyAction::Down), "bounce lower", false},
        {key(KeyAction::Enter), "roll again after a death", false},
        {key(KeyAction::Menu) + " or Pause", "this menu", false},
        {"Escape or PadBack", "quit", false},
        {"F12", "screenshot", false},
        {"Controller", "buttons as in Controls", false},
        Back(),
    };
}

