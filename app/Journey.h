// The player's way through the worlds: the current run's time and deaths, its checkpoint and
// its recording, the worlds in file order with whether they were reached and their best
// times, and starting a world. The menu, the heads-up display and the finish picture read it;
// the game's rules keep it up to date. Records and best runs are kept in the user's data
// folder beside the replays, and only while the player plays (never while a replay does).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/Replay.h"
#include "app/StepKeys.h"

class IEngine;
class IScreen;
class IWorld;

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

// The level's first world of that UTF-8 name; null when it has none.
IWorld* FindWorld(IEngine& engine, const std::string& name);

// Makes the world current; the current world is left as it is (its screens as they are).
void EnterWorld(IEngine& engine, IWorld& world);

// Makes the named world current at its start screen with a new ball at rest, and begins a new
// run there. Returns false when the level has no such world.
bool StartWorld(IEngine& engine, const std::string& name);

// The same for a world of the level (names need not differ).
void StartWorldAt(IEngine& engine, IWorld& world);

// Where every run is kept as a replay when the game ends.
std::filesystem::path LastReplayPath();

// ------------------------------------------------------------------ for the game's rules

// Once the level is loaded: its digest (for the runs' replays) and whether this session keeps
// records (false while a replay plays); reads the records, warning about a damaged file.
void BeginJourney(const std::string& levelDigest, bool keepRecords);

// While a replay chosen from the menu plays, its runs keep no records; after it they are kept
// again if the session keeps them.
void SetWatchingReplay(bool watching);

// Makes the furthest world reached (in file order) current; nothing without records.
void EnterFurthestWorldReached(IEngine& engine);

// A new run in the current world: no steps, deaths or checkpoint; the world counts as reached.
void BeginRun(IEngine& engine);

// Notes a screen the ball has just entered (the ball's place there makes a checkpoint) and
// returns true when it is the world's goal. Called at the start of every step.
bool NoteScreenEntered(IEngine& engine);

// Counts one step of the run with its keys; the time stops once the run is finished.
void RecordStep(StepKeys keys, bool finished);

void CountDeath();

// Where a restart puts the ball: the last checkpoint reached in this run, with the ball where
// it entered that screen; without one the world's start (no ball position: the usual one).
struct RestartPlace {
    IScreen* screen = nullptr;
    std::optional<std::pair<float, float>> ballLeftTop;
};
RestartPlace FindRestartPlace(IWorld& world);
// The restart has happened: that screen is where the run goes on.
void NoteRestartedOn(IScreen* screen);

// A finished run as the finish picture shows it.
struct FinishedRun {
    std::string world;
    long steps = 0;
    int deaths = 0;
    std::optional<long> bestSteps;  // the best before this run
    bool newBest = false;
};

// The run has reached the goal: its time is compared with the world's best; a new best is kept
// with its replay when the session keeps records.
FinishedRun FinishRun();

// The world after the current one in file order; null after the last.
IWorld* NextWorld(IEngine& engine);

// The current run as a replay of its own world.
Replay CurrentRunReplay();

// "m:ss.cc" for a run of fixed steps, to the nearest hundredth.
std::string FormatRunTime(long steps);
