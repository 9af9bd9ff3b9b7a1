// Draws the game menu over the paused scene, the heads-up display of the run's time and
// deaths, and the note shown while a replay from the menu plays; all in the game's own font
// and colours, in scene pixels of the 800 x 600 scene.
#pragma once

#include <string>

#include "app/Journey.h"

class GameMenu;

void DrawGameMenu(const GameMenu& menu);
void DrawRunHud(const RunStats& stats);
void DrawWatchingNote(const std::string& menuKeyName);
