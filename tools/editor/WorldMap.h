// The level editor's world map: the screens of a world as small pictures in a grid of their
// columns and rows, with the empty slots around and between them. Lays the cells out in a box
// of the scene, finds the slot under a point, and draws only the screens in view, a few new
// pictures a frame, into a bounded set of pictures (a world of any size costs the same memory).
// The pictures belong to the engine's resource cache.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/editor/MapPictureCache.h"

class IEngine;
class IScreen;
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

    // Shows the map of the world's screens as they are now (the world must outlive the open map).
    void Open(IWorld& world, MapSlot current);
    void Close() { open = false; }
    bool IsOpen() const { return open; }
    // What went wrong with the first picture that could not be drawn since the last call.
    std::wstring TakeProblem() { return std::exchange(problem, std::wstring()); }

    // Lays the cells out over the screens' columns and rows and the current slot, with one
    // empty slot beyond them on every side; a world too large for the box is cut around the
    // current slot.
    void Arrange(const std::vector<MapSlot>& screens, MapSlot current);
    // Moves the view by cells, within the range of slot numbers.
    void Pan(int columns, int rows);
    int CellsInView() const { return columns * rows; }
    std::size_t PictureCapacity() const { return cache.Capacity(); }
    // The slot whose cell holds the point; nothing in the gaps between cells or beside the grid.
    std::optional<MapSlot> SlotAt(int x, int y) const;
    MapBox CellOf(MapSlot slot) const;

    // Draws the cells in view, first drawing the pictures of a few screens that have none yet;
    // the screen that was current is entered again afterwards.
    void Draw(MapSlot current);

private:
    ITexture* PictureTexture(std::size_t index);
    void DrawMissingPictures();
    void DrawPicture(ITexture* texture);
    IScreen* ScreenAt(MapSlot slot) const;
    void DrawCell(MapSlot slot, MapSlot current);

    IEngine* engine;
    MapBox area;
    bool open = false;
    IWorld* world = nullptr;
    std::map<std::pair<int, int>, IScreen*> screens;  // the first screen at each slot
    MapPictureCache cache;
    std::vector<bool> failed;  // by place: its picture could not be drawn
    std::wstring problem;
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
