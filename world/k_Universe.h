// The root of the level data: the list of worlds (owned), the current world, the screen
// handlers, and the level file's reading and writing. Releasing it leaves the current screen.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "IEngine.h"
#include "IUniverse.h"

struct LevelDescription;

class k_Universe : public IUniverse {
public:
    explicit k_Universe(IEngine* engine);
    ~k_Universe() override;

    std::vector<std::unique_ptr<IWorld>>& GetWorlds() override;
    std::unique_ptr<IWorld> CreateWorld() override;
    void SetCurrentWorld(IWorld* world) override;
    IWorld* GetCurrentWorld() override;
    void LoadFromPath(const std::wstring& path) override;
    // Reads the level from the file's bytes; failures name the source "level data".
    void Load(IFile* file) override;
    void SaveToPath(const std::wstring& path) override;
    void SetScreenEnteredHandler(ScreenHandler handler) override;
    void SetScreenLeftHandler(ScreenHandler handler) override;
    void NotifyScreenEntered(IScreen* screen) override;
    void NotifyScreenLeft(IScreen* screen) override;

    // Load, with failures naming the source as name (for example the file's name in the data).
    void LoadNamed(IFile* file, const std::wstring& name);

private:
    void Replace(LevelDescription level);
    void PrepareTextures(const LevelDescription& level);

    IEngine* engine;
    IWorld* currentWorld = nullptr;
    std::vector<std::unique_ptr<IWorld>> worlds;
    ScreenHandler screenEnteredHandler = nullptr;
    ScreenHandler screenLeftHandler = nullptr;
};
