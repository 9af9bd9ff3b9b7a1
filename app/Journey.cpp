#include "app/Journey.h"

#include <cstdio>
#include <iostream>

#include "Failure.h"
#include "IEngine.h"
#include "IScreen.h"
#include "ISprite.h"
#include "IUniverse.h"
#include "IWorld.h"
#include "WideText.h"
#include "app/FixedSteps.h"
#include "app/Game.h"
#include "app/WorldRecords.h"
#include "base/UserFolders.h"
#include "world/ScreenSlot.h"

namespace {

const char* const kReplayFolder = "replays";
const char* const kLastReplay = "last.replay";
const char* const kRecordsFile = "records.txt";
const char* const kBestReplayPrefix = "best-";
const char* const kReplayExtension = ".replay";
constexpr long kCentisPerSecond = 100;
constexpr long kSecondsPerMinute = 60;

struct Journey {
    std::string levelDigest;
    bool keepRecords = false;
    bool watchingReplay = false;
    std::string world;  // the run's world, UTF-8
    PlayerRecords records;
    RunStats stats;
    std::vector<StepKeys> steps;
    IScreen* seenScreen = nullptr;
    IScreen* checkpoint = nullptr;
    std::pair<float, float> checkpointBall;
};

Journey g_Journey;

std::filesystem::path ReplayFolder() { return UserDataFolder() / kReplayFolder; }

std::filesystem::path RecordsPath() { return ReplayFolder() / kRecordsFile; }

// Letters and digits of the name stay, everything else becomes '_', so that any name gives a
// plain file name.
std::filesystem::path BestReplayPath(const std::string& world) {
    std::string name;
    for (char c : world) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        name.push_back(plain ? c : '_');
    }
    return ReplayFolder() / (kBestReplayPrefix + name + kReplayExtension);
}

bool KeepsRecords() { return g_Journey.keepRecords && !g_Journey.watchingReplay; }

// A failure to keep the records is reported and never stops the game.
void SaveRecords() {
    if (!KeepsRecords()) {
        return;
    }
    try {
        WritePlayerRecords(RecordsPath(), g_Journey.records);
    } catch (const k_Failure& failure) {
        std::cerr << failure.what() << std::endl;
    }
}

IScreen* CurrentScreen(IEngine& engine) {
    IWorld* world = engine.GetUniverse()->GetCurrentWorld();
    return world ? world->GetCurrentScreen() : nullptr;
}

// The index of the current world in file order; the count of worlds when there is none.
std::size_t CurrentWorldIndex(IUniverse& universe) {
    auto& worlds = universe.GetWorlds();
    std::size_t index = 0;
    while (index < worlds.size() && worlds[index].get() != universe.GetCurrentWorld()) {
        ++index;
    }
    return index;
}

}  // namespace

RunStats CurrentRunStats() { return g_Journey.stats; }

std::vector<WorldRecord> ListWorldRecords(IEngine& engine) {
    std::vector<WorldRecord> records;
    IUniverse* universe = engine.GetUniverse();
    for (const auto& world : universe->GetWorlds()) {
        WorldRecord record;
        record.name = ToUtf8(world->GetName());
        record.reached = world.get() == universe->GetCurrentWorld() || g_Journey.records.reached.count(record.name) > 0;
        auto best = g_Journey.records.bestSteps.find(record.name);
        if (best != g_Journey.records.bestSteps.end()) {
            record.bestSteps = best->second;
        }
        std::error_code error;
        if (std::filesystem::is_regular_file(BestReplayPath(record.name), error)) {
            record.bestReplay = BestReplayPath(record.name);
        }
        records.push_back(std::move(record));
    }
    return records;
}

IWorld* FindWorld(IEngine& engine, const std::string& name) {
    for (const auto& world : engine.GetUniverse()->GetWorlds()) {
        if (ToUtf8(world->GetName()) == name) {
            return world.get();
        }
    }
    return nullptr;
}

void EnterWorld(IEngine& engine, IWorld& world) {
    IUniverse* universe = engine.GetUniverse();
    if (&world != universe->GetCurrentWorld()) {
        universe->SetCurrentWorld(&world);
    }
}

bool StartWorld(IEngine& engine, const std::string& name) {
    IWorld* world = FindWorld(engine, name);
    if (world) {
        StartWorldAt(engine, *world);
    }
    return world != nullptr;
}

void StartWorldAt(IEngine& engine, IWorld& world) {
    EnterWorld(engine, world);
    BeginRun(engine);
    Restart();
}

std::filesystem::path LastReplayPath() { return ReplayFolder() / kLastReplay; }

void BeginJourney(const std::string& levelDigest, bool keepRecords) {
    g_Journey = Journey{};
    g_Journey.levelDigest = levelDigest;
    g_Journey.keepRecords = keepRecords;
    g_Journey.records = ReadPlayerRecords(RecordsPath(), std::cerr);
}

void SetWatchingReplay(bool watching) { g_Journey.watchingReplay = watching; }

void EnterFurthestWorldReached(IEngine& engine) {
    auto& worlds = engine.GetUniverse()->GetWorlds();
    for (auto world = worlds.rbegin(); world != worlds.rend(); ++world) {
        if (g_Journey.records.reached.count(ToUtf8((*world)->GetName())) > 0) {
            EnterWorld(engine, **world);
            return;
        }
    }
}

void BeginRun(IEngine& engine) {
    g_Journey.stats = RunStats{};
    g_Journey.steps.clear();
    g_Journey.checkpoint = nullptr;
    g_Journey.seenScreen = CurrentScreen(engine);
    g_Journey.world = CurrentWorldName(engine);
    // A replay shows a recorded run: its world is not one the player has reached.
    if (KeepsRecords() && !g_Journey.world.empty() && g_Journey.records.reached.insert(g_Journey.world).second) {
        SaveRecords();
    }
}

bool NoteScreenEntered(IEngine& engine) {
    IScreen* screen = CurrentScreen(engine);
    ISprite* ball = engine.GetPlayerSprite();
    if (screen == g_Journey.seenScreen || !screen || !ball) {
        return false;
    }
    g_Journey.seenScreen = screen;
    if (screen->IsCheckpoint()) {
        g_Journey.checkpoint = screen;
        g_Journey.checkpointBall = {ball->GetData().left, ball->GetData().top};
    }
    return screen->IsGoal();
}

void RecordStep(StepKeys keys, bool finished) {
    g_Journey.steps.push_back(keys);
    if (!finished) {
        ++g_Journey.stats.steps;
    }
}

void CountDeath() { ++g_Journey.stats.deaths; }

RestartPlace FindRestartPlace(IWorld& world) {
    for (const auto& screen : world.GetScreens()) {
        if (screen.get() == g_Journey.checkpoint) {
            return RestartPlace{screen.get(), g_Journey.checkpointBall};
        }
    }
    for (const auto& screen : world.GetScreens()) {
        if (IsRestartSlot(screen->GetX(), screen->GetY())) {
            return RestartPlace{screen.get(), std::nullopt};
        }
    }
    return RestartPlace{};
}

void NoteRestartedOn(IScreen* screen) { g_Journey.seenScreen = screen; }

FinishedRun FinishRun() {
    FinishedRun run{g_Journey.world, g_Journey.stats.steps, g_Journey.stats.deaths, std::nullopt, true};
    auto best = g_Journey.records.bestSteps.find(run.world);
    if (best != g_Journey.records.bestSteps.end()) {
        run.bestSteps = best->second;
        run.newBest = run.steps < best->second;
    }
    if (!run.newBest || !KeepsRecords()) {
        return run;
    }
    // The replay first: a best time the records keep always has its run beside it.
    try {
        WriteReplayFile(BestReplayPath(run.world), CurrentRunReplay());
        g_Journey.records.bestSteps[run.world] = run.steps;
        SaveRecords();
    } catch (const k_Failure& failure) {
        std::cerr << failure.what() << std::endl;
    }
    return run;
}

IWorld* NextWorld(IEngine& engine) {
    IUniverse* universe = engine.GetUniverse();
    const std::size_t next = CurrentWorldIndex(*universe) + 1;
    return next < universe->GetWorlds().size() ? universe->GetWorlds()[next].get() : nullptr;
}

Replay CurrentRunReplay() {
    return Replay{GameVersion(), g_Journey.levelDigest, g_Journey.world, g_Journey.steps};
}

std::string FormatRunTime(long steps) {
    const long centis = static_cast<long>(steps * kCentisPerSecond * FixedSteps::kStepSeconds + 0.5);
    const long seconds = centis / kCentisPerSecond;
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld.%02ld", seconds / kSecondsPerMinute, seconds % kSecondsPerMinute,
                  centis % kCentisPerSecond);
    return text;
}
