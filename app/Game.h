// The game's own glue around the engine: the fixed settings, the start sequence with its
// splash picture and level, and the main loop that pumps messages and draws frames.
#pragma once

#include "Settings.h"

// The five settings the game runs with; nothing else changes them.
Settings BuildSettings();

// Creates the engine into g_Engine, shows the splash, loads the level and runs the main loop
// until Escape or the quit message. Failures are raised as k_Failure; the caller releases
// g_Engine afterwards.
void RunGame(Settings& settings);
