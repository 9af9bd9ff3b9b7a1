#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "support/DrawingFixture.h"
#include "tools/editor/MapPictureCache.h"
#include "tools/editor/WorldMap.h"
#include "world/k_World.h"

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

// However large the world, the map keeps a bounded number of pictures, enough for its view twice
// over; the pictures used lately keep their places while others come and go.
TEST(WorldMapTest, ALargeWorldKeepsABoundedNumberOfPictures) {
    WorldMap map(nullptr, kArea);
    std::vector<MapSlot> screens;
    for (int index = 0; index < 10000; ++index) {
        screens.push_back(MapSlot{index % 100, index / 100});
    }
    map.Arrange(screens, {50, 50});
    EXPECT_LE(2 * static_cast<std::size_t>(map.CellsInView()), map.PictureCapacity());
    EXPECT_LT(map.PictureCapacity(), 1000u);

    MapPictureCache cache(3);
    for (int x = 0; x < 10000; ++x) {
        MapPictureCache::Place place = cache.PlaceOf(x, 0);
        ASSERT_TRUE(place.index < 3 && !place.drawn) << x;
        cache.MarkDrawn(place.index);
    }
    EXPECT_EQ(cache.Size(), 3u);
    EXPECT_TRUE(cache.PlaceOf(9997, 0).drawn);
    cache.PlaceOf(-1, 0);  // takes the place of 9998, now the one used longest ago
    EXPECT_TRUE(cache.PlaceOf(9997, 0).drawn);
    EXPECT_FALSE(cache.PlaceOf(9998, 0).drawn);
    cache.Clear();
    EXPECT_FALSE(cache.PlaceOf(9997, 0).drawn);
}

using WorldMapPictureTest = DrawingTest;

// A screen's picture shows its pieces over one another as the game does, and is opaque: a
// translucent piece blends with the one under it instead of punching a hole into the picture.
TEST_F(WorldMapPictureTest, PictureBlendsPiecesOverOneAnotherAndIsOpaque) {
    k_Texture picture(&engine, 160, 120);  // a fifth of the scene's size
    engine.textures[L"editor world map picture 0"] = &picture;
    auto red = SolidTexture(L"red.png", 16, 16, {255, 0, 0, 255});
    auto translucent = SolidTexture(L"green.png", 8, 8, {0, 255, 0, 100});
    AddSprite(red.get(), 8, 8, 0);
    AddSprite(translucent.get(), 8, 8, 1);
    k_World world(&engine);
    world.GetScreens().push_back(world.CreateScreen(0, 0));

    WorldMap map(&engine, kArea);
    map.Open(world, {0, 0});
    map.Draw({0, 0});
    EXPECT_EQ(map.TakeProblem(), L"");

    Rgba blended = TexturePixels(picture)[(120 - 1 - 2) * 160 + 2];  // (2, 2) from the top
    EXPECT_TRUE(ColourNear(blended, {155, 100, 0}, 2));
    EXPECT_EQ(blended[3], 255);
}

}  // namespace
