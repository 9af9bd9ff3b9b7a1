#include "world/k_Universe.h"

#include "Failure.h"
#include "world/LevelDirectory.h"
#include "world/LevelLoading.h"
#include "world/LevelReader.h"
#include "world/LevelWriter.h"
#include "world/RecordTexture.h"
#include "world/ScreenSlot.h"
#include "world/k_World.h"

namespace {

const wchar_t* const kMemoryLevelName = L"level data";

}  // namespace

k_Universe::k_Universe(IEngine* engine) : engine(engine) {}

// The worlds are released inside the destructor's body, while the handlers they may notify
// are still members of a whole object.
k_Universe::~k_Universe() {
    SetCurrentWorld(nullptr);
    worlds.clear();
}

std::vector<std::unique_ptr<IWorld>>& k_Universe::GetWorlds() { return worlds; }

std::unique_ptr<IWorld> k_Universe::CreateWorld() { return std::make_unique<k_World>(engine); }

// A world without screens becomes current with no current screen.
void k_Universe::SetCurrentWorld(IWorld* world) {
    if (currentWorld) {
        currentWorld->SetCurrentScreen(nullptr);
    }
    currentWorld = world;
    if (currentWorld) {
        auto& screens = currentWorld->GetScreens();
        currentWorld->SetCurrentScreen(screens.size() > kStartScreenIndex ? screens[kStartScreenIndex].get() : nullptr);
    }
}

IWorld* k_Universe::GetCurrentWorld() { return currentWorld; }

void k_Universe::LoadFromPath(const std::wstring& path) {
    EnterDataDirectory();
    Replace(ReadLevelFile(path));
}

void k_Universe::Load(IFile* file) { LoadNamed(file, kMemoryLevelName); }

void k_Universe::LoadNamed(IFile* file, const std::wstring& name) {
    if (!file) {
        throw k_Failure(L"Cannot load the level: " + name + L": no level file was given");
    }
    EnterDataDirectory();
    Replace(ReadLevel(file->GetData(), file->GetSize(), name));
}

// Only a completely read and checked level gets here, and the textures its first screen needs
// are made before anything is released, so a bad file never costs the worlds loaded before.
void k_Universe::Replace(LevelDescription level) {
    PrepareTextures(level);
    ReplaceWorlds(*this, std::move(level));
}

// Makes (and so caches in the engine) every texture that entering the level's first screen
// asks for; a missing picture or shader raises here, while the old worlds are still whole.
void k_Universe::PrepareTextures(const LevelDescription& level) {
    if (level.activeWorld < 0) {
        return;
    }
    const std::vector<LevelScreen>& screens = level.worlds.at(static_cast<std::size_t>(level.activeWorld)).screens;
    if (screens.empty()) {
        return;
    }
    for (const SpriteData& record : screens.front().records) {
        RecordTexture(*engine, record);
    }
}

void k_Universe::SaveToPath(const std::wstring& path) {
    EnterDataDirectory();
    SaveLevelFile(path, *this);
}

void k_Universe::SetScreenEnteredHandler(ScreenHandler handler) { screenEnteredHandler = handler; }

void k_Universe::SetScreenLeftHandler(ScreenHandler handler) { screenLeftHandler = handler; }

void k_Universe::NotifyScreenEntered(IScreen* screen) {
    if (screenEnteredHandler) {
        screenEnteredHandler(screen);
    }
}

void k_Universe::NotifyScreenLeft(IScreen* screen) {
    if (screenLeftHandler) {
        screenLeftHandler(screen);
    }
}
