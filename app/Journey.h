// The player's way through the worlds: the current run's time and deaths, the worlds in file
// order with whether they were reached and their best times, and starting a world. The menu,
// the heads-up display and the finish picture read it; the game's rules keep it up to date.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class IEngine;

// The current run in the current world: fixed steps played and deaths so far.
struct RunStats {
    long steps = 0;
    int deaths = 0;
};

// One world of the level as the player knows it.
struct WorldRecord {
    std::string name;                    // UTF-8, as the level file names it
    bool reached = false;                // the player has played in it
    std::optional<long> bestSteps;       // the fastest finished run, in fixed steps
    std::filesystem::path bestReplay;    // that run's replay; empty without one
};

RunStats CurrentRunStats();

// Every world of the loaded level, in file order.
std::vector<WorldRecord> ListWorldRecords(IEngine& engine);

// Makes the named world current at its start screen with a new ball at rest, and begins a new
// run there. Returns false when the level has no such world.
bool StartWorld(IEngine& engine, const std::string& name);

// Where every run is kept as a replay when the game ends.
std::filesystem::path LastReplayPath();
