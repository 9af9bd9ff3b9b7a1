// One item of a popup menu: a submenu when it has children, a leaf otherwise.
// Copied by value; an item owns its children.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PlatformTypes.h"

struct MenuItem;

// Called with the window's own copy of the chosen leaf.
using MenuCallback = void (*)(MenuItem* item);

struct MenuItem {
    std::vector<MenuItem> children;
    std::wstring label;
    MenuHandle menuHandle = nullptr;  // set while the menu is built; empty for a leaf
    MenuCallback callback = nullptr;
    std::uintptr_t userData = 0;      // free for the callback; never read by the window
};
