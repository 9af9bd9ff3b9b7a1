// Which screens' pictures the world map keeps: at most a fixed number, each in one of as many
// numbered places (the map reuses one picture per place), so that a world of any size costs the
// same memory. The picture used longest ago gives its place to a new one. Knows slots only; the
// pictures themselves belong to the world map.
#pragma once

#include <cstddef>
#include <map>
#include <utility>
#include <vector>

class MapPictureCache {
public:
    struct Place {
        std::size_t index = 0;  // below Capacity()
        bool drawn = false;     // false: the picture in that place is not this slot's yet
    };

    explicit MapPictureCache(std::size_t capacity);

    // The place of the slot's picture, taken from the picture used longest ago when the slot
    // has none yet; counts as a use.
    Place PlaceOf(int x, int y);
    void MarkDrawn(std::size_t index) { entries[index].drawn = true; }
    // Every picture is out of date (the level may have changed since they were drawn).
    void Clear();

    std::size_t Size() const { return places.size(); }
    std::size_t Capacity() const { return entries.size(); }

private:
    using Slot = std::pair<int, int>;
    struct Entry {
        Slot slot;
        bool used = false;
        bool drawn = false;
        unsigned long lastUse = 0;
    };

    std::size_t OldestPlace() const;

    std::vector<Entry> entries;
    std::map<Slot, std::size_t> places;
    unsigned long uses = 0;
};
