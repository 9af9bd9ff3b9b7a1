#include "tools/editor/LevelSnapshot.h"

int CurrentWorldIndex(IUniverse& universe) {
    auto& worlds = universe.GetWorlds();
    for (std::size_t index = 0; index < worlds.size(); ++index) {
        if (worlds[index].get() == universe.GetCurrentWorld()) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

LevelDescription TakeSnapshot(IUniverse& universe) {
    LevelDescription snapshot;
    snapshot.activeWorld = CurrentWorldIndex(universe);
    for (auto& world : universe.GetWorlds()) {
        LevelWorld worldCopy{world->GetName(), {}, world->GetMusic()};
        for (auto& screen : world->GetScreens()) {
            worldCopy.screens.push_back(LevelScreen{screen->GetX(), screen->GetY(), screen->GetSpriteData(),
                                                    screen->IsGoal(), screen->IsCheckpoint()});
        }
        snapshot.worlds.push_back(std::move(worldCopy));
    }
    return snapshot;
}

void RestoreSnapshot(IUniverse& universe, const LevelDescription& snapshot) {
    universe.SetCurrentWorld(nullptr);
    auto& worlds = universe.GetWorlds();
    worlds.clear();
    for (const LevelWorld& worldCopy : snapshot.worlds) {
        std::unique_ptr<IWorld> world = universe.CreateWorld();
        world->SetName(worldCopy.name.value_or(L""));
        world->SetMusic(worldCopy.music);
        for (const LevelScreen& screenCopy : worldCopy.screens) {
            std::unique_ptr<IScreen> screen = world->CreateScreen(screenCopy.x, screenCopy.y);
            screen->GetSpriteData() = screenCopy.records;
            screen->SetGoal(screenCopy.goal);
            screen->SetCheckpoint(screenCopy.checkpoint);
            world->GetScreens().push_back(std::move(screen));
        }
        worlds.push_back(std::move(world));
    }
    bool valid = snapshot.activeWorld >= 0 && snapshot.activeWorld < static_cast<int>(worlds.size());
    universe.SetCurrentWorld(valid ? worlds[snapshot.activeWorld].get() : nullptr);
}
