// The root of the level data: the worlds, the current one, and the level file.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "IFile.h"
#include "IWorld.h"

class IScreen;

using ScreenHandler = void (*)(IScreen* screen);

class IUniverse {
public:
    virtual ~IUniverse() = default;

    virtual std::vector<std::unique_ptr<IWorld>>& GetWorlds() = 0;
    // A new world; the caller appends it to GetWorlds.
    virtual std::unique_ptr<IWorld> CreateWorld() = 0;
    // Leaves the old world's screen and enters the first screen of world (null: none current).
    virtual void SetCurrentWorld(IWorld* world) = 0;
    virtual IWorld* GetCurrentWorld() = 0;
    virtual void LoadFromPath(const std::wstring& path) = 0;
    virtual void Load(IFile* file) = 0;
    virtual void SaveToPath(const std::wstring& path) = 0;
    virtual void SetScreenEnteredHandler(ScreenHandler handler) = 0;
    virtual void SetScreenLeftHandler(ScreenHandler handler) = 0;
    virtual void NotifyScreenEntered(IScreen* screen) = 0;
    virtual void NotifyScreenLeft(IScreen* screen) = 0;
};
