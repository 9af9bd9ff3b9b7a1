#include "tools/editor/LevelSnapshot.h"

#include "world/LevelLoading.h"

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

void RestoreSnapshot(IUniverse& universe, const LevelDescription& snapshot) { ReplaceWorlds(universe, snapshot); }
