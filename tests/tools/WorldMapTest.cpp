#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tools/editor/WorldMap.h"

namespace {

constexpr MapBox kArea{16, 48, 768, 500};

bool Inside(const MapBox& cell) {
    return cell.left >= kArea.left && cell.top >= kArea.top && cell.left + cell.width <= kArea.left + kArea.width &&
           cell.top + cell.height <= kArea.top + kArea.height;
}

// Every slot that must be shown has a cell inside the area that leads back to it, with a gap
// before it; slots beyond the grid have none.
TEST(WorldMapTest, EveryShownSlotHasItsCellAndNothingElseHasOne) {
    const struct {
        std::vector<MapSlot> screens;
        MapSlot current;
        std::vector<MapSlot> shown;
        std::vector<MapSlot> hidden;
    } cases[] = {
        {{{0, 0}, {1, 0}, {1, 1}}, {0, 0}, {{-1, -1}, {2, -1}, {0, 1}, {-1, 2}, {2, 2}}, {{3, 0}, {0, 3}, {-2, 0}}},
        // The designer on an empty slot far from the only screen.
        {{{-3, -2}}, {4, 5}, {{-4, -3}, {-3, -2}, {4, 5}, {5, 6}}, {{6, 6}, {-5, -3}}},
        // A span too long to show is cut around the current slot, at the end of the slot numbers.
        {{{INT_MIN, INT_MIN}, {INT_MAX, 0}}, {INT_MAX, 0}, {{INT_MAX, 0}, {INT_MAX - 1, -1}}, {{INT_MIN, INT_MIN}}},
    };
    for (const auto& check : cases) {
        WorldMap map(nullptr, kArea);
        map.Arrange(check.screens, check.current);
        for (const MapSlot& slot : check.shown) {
            MapBox cell = map.CellOf(slot);
            std::optional<MapSlot> found = map.SlotAt(cell.left + cell.width / 2, cell.top + cell.height / 2);
            EXPECT_TRUE(Inside(cell) && found && *found == slot) << slot.x << ", " << slot.y;
            EXPECT_FALSE(map.SlotAt(cell.left - 1, cell.top + cell.height / 2)) << slot.x << ", " << slot.y;
        }
        for (const MapSlot& slot : check.hidden) {
            MapBox cell = map.CellOf(slot);
            EXPECT_FALSE(map.SlotAt(cell.left + cell.width / 2, cell.top + cell.height / 2)) << slot.x << ", " << slot.y;
        }
    }
}

}  // namespace
