#include "app/Journey.h"

#include "IEngine.h"
#include "IUniverse.h"
#include "IWorld.h"
#include "WideText.h"
#include "app/Game.h"
#include "base/UserFolders.h"

namespace {

const char* const kReplayFolder = "replays";
const char* const kLastReplay = "last.replay";

}  // namespace

RunStats CurrentRunStats() { return RunStats{}; }

std::vector<WorldRecord> ListWorldRecords(IEngine& engine) {
    std::vector<WorldRecord> records;
    IUniverse* universe = engine.GetUniverse();
    for (const auto& world : universe->GetWorlds()) {
        WorldRecord record;
        record.name = ToUtf8(world->GetName());
        record.reached = world.get() == universe->GetCurrentWorld();
        records.push_back(std::move(record));
    }
    return records;
}

bool StartWorld(IEngine& engine, const std::string& name) {
    IUniverse* universe = engine.GetUniverse();
    for (const auto& world : universe->GetWorlds()) {
        if (ToUtf8(world->GetName()) == name) {
            if (world.get() != universe->GetCurrentWorld()) {
                universe->SetCurrentWorld(world.get());
            }
            Restart();
            return true;
        }
    }
    return false;
}

std::filesystem::path LastReplayPath() { return UserDataFolder() / kReplayFolder / kLastReplay; }
