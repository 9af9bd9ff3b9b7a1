// The game's own glue around the engine: the fixed settings, the start sequence with its
// splash picture and level, and the main loop that pumps messages and draws frames.
#pragma once

#include <cstdint>
#include <memory>

#include "Settings.h"

class ISprite;
class ITexture;
class k_Ball;

// The player's ball; null from the player's death until the restart.
extern k_Ball* g_Ball;
// The death picture, shown from the death until the restart.
extern std::unique_ptr<ISprite> g_DeathSprite;
// The two death pictures that alternate; both belong to the engine's cache.
extern ITexture* g_DeathTexture;
extern ITexture* g_DeathTexture2;

// The five settings the game runs with; nothing else changes them.
Settings BuildSettings();

// Creates the engine into g_Engine, shows the splash, loads the level and runs the main loop
// until Escape or the quit message. Failures are raised as k_Failure; the caller then calls
// ReleaseGame.
void RunGame(Settings& settings);

// Releases the ball, then the engine, then the sprites the game still owns.
void ReleaseGame();

// The death handler the engine calls at the start of the frame after a fatal touch: stops the
// music, laughs, shows the death picture and releases the ball.
void OnDeath(void* userData);

// Brings the player back after a death: the start screen of the current world, a new ball,
// the music from its beginning, and the death picture gone.
void Restart();

// Points g_DeathSprite's picture at one death picture or the other by the phase of a 250 ms
// cycle of the counter's clock (counter value `last` at `frequency` ticks per second).
void BlinkDeathPicture(std::uint64_t last, std::uint64_t frequency);
