// A screen's slot in its world: a column and a row anywhere in the range of int. A slot at an
// end of that range has no neighbour beyond it; stepping there never wraps around.
#pragma once

#include <optional>

struct ScreenSlot {
    int x = 0;  // column
    int y = 0;  // row
};

// The slot columns and rows away from (x, y); nothing when it lies beyond the range of int.
std::optional<ScreenSlot> SlotBeside(int x, int y, int columns, int rows);
