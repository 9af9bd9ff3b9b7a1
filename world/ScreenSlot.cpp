#include "world/ScreenSlot.h"

std::optional<ScreenSlot> SlotBeside(int x, int y, int columns, int rows) {
    ScreenSlot slot;
    if (__builtin_add_overflow(x, columns, &slot.x) || __builtin_add_overflow(y, rows, &slot.y)) {
        return std::nullopt;
    }
    return slot;
}

bool IsRestartSlot(int x, int y) { return static_cast<long long>(x) + y == 0; }
