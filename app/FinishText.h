// The finish picture's words: the world's name, the run's time, its deaths and the world's
// best time or a new best, in the game's font over the panel the picture leaves free.
#pragma once

struct FinishedRun;

// Draws over the scene in scene pixels; called after the frame's scene is shown.
void DrawFinishText(const FinishedRun& run);
