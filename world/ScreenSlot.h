// A screen's slot in its world: a column and a row anywhere in the range of int. A slot at an
// end of that range has no neighbour beyond it; stepping there never wraps around. Also where
// play begins: the game, the checker and the editor's test play all ask here.
#pragma once

#include <cstddef>
#include <optional>

struct ScreenSlot {
    int x = 0;  // column
    int y = 0;  // row
};

// The slot columns and rows away from (x, y); nothing when it lies beyond the range of int.
std::optional<ScreenSlot> SlotBeside(int x, int y, int columns, int rows);

// Play starts on the first screen a world lists.
constexpr std::size_t kStartScreenIndex = 0;

// After a death the ball starts again on the first screen whose column plus row is 0 (summed
// wide, so that no slot overflows), or where it died when the world has none.
bool IsRestartSlot(int x, int y);
