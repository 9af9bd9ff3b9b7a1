// The level editor's world map: every screen of a world as a small picture in a grid of its
// columns and rows, with the empty slots around and between them. Draws each screen into a
// picture when it opens, lays the cells out in a box of the scene and finds the slot under a
// point. The pictures belong to the engine's resource cache.
#pragma once

#include <optional>
#include <string>
#include <vector>

class IEngine;
class ITexture;
class IWorld;

struct MapSlot {
    int x = 0;  // column
    int y = 0;  // row
    bool operator==(const MapSlot& other) const { return x == other.x && y == other.y; }
};

struct MapBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class WorldMap {
public:
    // The map is laid out inside the box, in scene pixels.
    WorldMap(IEngine* engine, MapBox area);

    // Draws every screen of the world into its picture and shows the map; the screen that was
    // current is entered again afterwards. Returns what went wrong with pictures that could not
    // be drawn (empty when all were), the map opens regardless.
    std::wstring Open(IWorld& world, MapSlot current);
    void Close() { open = false; }
    bool IsOpen() const { return open; }

    // Lays the cells out over the screens' columns and rows and the current slot, with one
    // empty slot beyond them on every side.
    void Arrange(const std::vector<MapSlot>& screens, MapSlot current);
    // The slot whose cell holds the point; nothing in the gaps between cells or beside the grid.
    std::optional<MapSlot> SlotAt(int x, int y) const;
    MapBox CellOf(MapSlot slot) const;

    void Draw(MapSlot current) const;

private:
    struct Picture {
        MapSlot slot;
        ITexture* texture = nullptr;
    };

    ITexture* PictureTexture(std::size_t index);
    void DrawPicture(ITexture* texture);
    const Picture* PictureAt(MapSlot slot) const;
    void DrawCell(MapSlot slot, MapSlot current) const;

    IEngine* engine;
    MapBox area;
    bool open = false;
    std::vector<Picture> pictures;
    MapSlot first;  // the slot in the top-left cell
    int columns = 0;
    int rows = 0;
    int originX = 0;
    int originY = 0;
    int pitchX = 0;
    int pitchY = 0;
    int cellWidth = 0;
    int cellHeight = 0;
};
