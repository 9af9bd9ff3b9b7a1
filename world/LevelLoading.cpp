#include "world/LevelLoading.h"

#include "IScreen.h"
#include "IWorld.h"
#include "world/LevelReader.h"
#include "world/k_Universe.h"

void LoadNamedLevel(IUniverse& universe, IFile* file, const std::wstring& name) {
    if (auto* own = dynamic_cast<k_Universe*>(&universe)) {
        own->LoadNamed(file, name);
    } else {
        universe.Load(file);
    }
}

void ReplaceWorlds(IUniverse& universe, LevelDescription level) {
    universe.SetCurrentWorld(nullptr);
    auto& worlds = universe.GetWorlds();
    while (!worlds.empty()) {
        worlds.pop_back();
    }
    IWorld* active = nullptr;
    for (std::size_t index = 0; index < level.worlds.size(); ++index) {
        LevelWorld& description = level.worlds[index];
        std::unique_ptr<IWorld> world = universe.CreateWorld();
        if (description.name) {
            world->SetName(*description.name);
        }
        world->SetMusic(description.music);
        for (LevelScreen& screenDescription : description.screens) {
            std::unique_ptr<IScreen> screen = world->CreateScreen(screenDescription.x, screenDescription.y);
            screen->GetSpriteData() = std::move(screenDescription.records);
            screen->SetGoal(screenDescription.goal);
            screen->SetCheckpoint(screenDescription.checkpoint);
            world->GetScreens().push_back(std::move(screen));
        }
        if (level.activeWorld == static_cast<int>(index)) {
            active = world.get();
        }
        worlds.push_back(std::move(world));
    }
    universe.SetCurrentWorld(active);
}
