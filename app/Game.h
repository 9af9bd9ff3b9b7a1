// The game's own glue around the engine: the fixed settings, the start sequence with its
// splash picture and level, the per-step rules (steering, death and restart) and the run that
// ends with a summary line and a saved replay.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Settings.h"
#include "app/StepKeys.h"

class IEngine;
class ISprite;
class ITexture;
class k_Ball;
struct CommandLine;
struct GameSettings;

// The player's ball; null from the player's death until the restart.
extern k_Ball* g_Ball;
// The death picture, shown from the death until the restart.
extern std::unique_ptr<ISprite> g_DeathSprite;
// The two death pictures that alternate; both belong to the engine's cache.
extern ITexture* g_DeathTexture;
extern ITexture* g_DeathTexture2;

// The five settings the game runs with.
Settings BuildSettings();

// Creates the engine into g_Engine, applies the player's scaling and volumes, shows the splash, loads the level and runs the main loop
// until Escape, the quit message or the end of the replay the command line names; then prints
// the run's summary line and keeps the run as the last replay. Failures are raised as
// k_Failure; the caller then calls ReleaseGame.
void RunGame(Settings& settings, const CommandLine& commandLine, const GameSettings& player);

// The start of a run, in the order RunGame takes it: the splash picture for that long, the
// level from the data (returning the digest of its file's bytes, which a replay must match),
// then the ball, no highlighted layer, and the music.
void ShowSplash(IEngine* engine, unsigned int milliseconds);
std::string LoadDataLevel(IEngine* engine);
void StartPlaying(IEngine* engine);

// The game's version, as --version and replays give it.
std::string GameVersion();
// The current world's name (UTF-8), as replays and the summary line give it; empty without one.
std::string CurrentWorldName(IEngine& engine);

// Releases the ball, then the engine, then the sprites the game still owns.
void ReleaseGame();

// The death handler the engine calls at the start of the step after a fatal touch: stops the
// music, laughs, shows the death picture and releases the ball.
void OnDeath(void* userData);

// Brings the player back after a death (or at will): the last checkpoint reached in this run
// with a new ball at rest where the old one entered it, else the start screen of the current
// world with a new ball; the world's music from its beginning, and the death picture gone.
// From a finish or closing picture it begins a new run of the current world.
void Restart();

// One step's keys: first the screen the ball entered (a checkpoint is noted; a goal finishes
// the run); then the ball's look while it lives; after a death Enter restarts, and until then
// the death picture blinks on the counter's clock (value `counter` at `frequency` per second);
// on a finish picture a new press of Enter goes on to the next world. The step is recorded
// into the run.
void PlayStepKeys(StepKeys keys, std::uint64_t counter, std::uint64_t frequency);

// Points g_DeathSprite's picture at one death picture or the other by the phase of a 250 ms
// cycle of the counter's clock (counter value `last` at `frequency` ticks per second).
void BlinkDeathPicture(std::uint64_t last, std::uint64_t frequency);

// The ball lives, or the run has reached its goal (the ball then leaves the scene): how a
// run or a replay ends well.
bool IsBallInPlay(IEngine& engine);

// The frame hook: the words drawn over the shown scene (the finish picture's).
void DrawGameOverlay(void* userData);

// Lets go of a released ball's sprite once its removal from the scene has run.
void ReleaseRetiredBallSprite(IEngine& engine);

// "replay: world NAME, screen (X, Y), alive|dead, N steps, state HEX": how a run or replay
// ended, so that the two can be compared.
std::string RunSummary(IEngine& engine, long steps);
