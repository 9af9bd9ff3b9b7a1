#include "tools/editor/MapPictureCache.h"

#include <algorithm>

MapPictureCache::MapPictureCache(std::size_t capacity) : entries(std::max<std::size_t>(1, capacity)) {}

MapPictureCache::Place MapPictureCache::PlaceOf(int x, int y) {
    const Slot slot{x, y};
    auto found = places.find(slot);
    std::size_t index = 0;
    if (found != places.end()) {
        index = found->second;
    } else {
        index = OldestPlace();
        if (entries[index].used) {
            places.erase(entries[index].slot);
        }
        entries[index] = Entry{slot, true, false, 0};
        places.emplace(slot, index);
    }
    entries[index].lastUse = ++uses;
    return Place{index, entries[index].drawn};
}

// An unused place when there is one, else the one used longest ago.
std::size_t MapPictureCache::OldestPlace() const {
    auto oldest = std::min_element(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.used != b.used ? !a.used : a.lastUse < b.lastUse;
    });
    return static_cast<std::size_t>(oldest - entries.begin());
}

void MapPictureCache::Clear() {
    std::fill(entries.begin(), entries.end(), Entry{});
    places.clear();
}
