// A world: a grid of screens addressed by column and row, at most one of them current.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "IScreen.h"

class IWorld {
public:
    virtual ~IWorld() = default;

    virtual std::vector<std::unique_ptr<IScreen>>& GetScreens() = 0;
    // A new screen of this world; the caller appends it to GetScreens.
    virtual std::unique_ptr<IScreen> CreateScreen(int x, int y) = 0;
    // Leaves the current screen and enters the given one (null leaves none current).
    virtual void SetCurrentScreen(IScreen* screen) = 0;
    virtual IScreen* GetCurrentScreen() = 0;
    virtual void SetName(const std::wstring& name) = 0;
    virtual std::wstring GetName() = 0;
    // The world's own music module in the data; empty for the game's usual one.
    virtual void SetMusic(const std::wstring& music) = 0;
    virtual std::wstring GetMusic() = 0;
};
