#include "world/k_Screen.h"

#include "ISprite.h"
#include "IUniverse.h"
#include "world/RecordTexture.h"

k_Screen::k_Screen(IEngine* engine, IWorld* world, int x, int y) : engine(engine), world(world), x(x), y(y) {}

// A screen is normally left before it is released; should it still hold live sprites, they
// leave the engine's scene first so that the scene never points at a released sprite.
k_Screen::~k_Screen() { RemoveLiveSprites(); }

std::vector<SpriteData>& k_Screen::GetSpriteData() { return spriteData; }

std::vector<std::unique_ptr<ISprite>>& k_Screen::GetSprites() { return sprites; }

int k_Screen::GetX() { return x; }

int k_Screen::GetY() { return y; }

bool k_Screen::IsGoal() { return goal; }

void k_Screen::SetGoal(bool value) { goal = value; }

bool k_Screen::IsCheckpoint() { return checkpoint; }

void k_Screen::SetCheckpoint(bool value) { checkpoint = value; }

IScreen* k_Screen::GetRight() { return FindInWorld(std::int64_t{x} + 1, y); }

IScreen* k_Screen::GetLeft() { return FindInWorld(std::int64_t{x} - 1, y); }

IScreen* k_Screen::GetBelow() { return FindInWorld(x, std::int64_t{y} + 1); }

IScreen* k_Screen::GetAbove() { return FindInWorld(x, std::int64_t{y} - 1); }

// The first screen of the owning world at that column and row; with duplicates the earlier wins.
// The wanted coordinates are computed in 64 bits so that the grid's edges at the 32-bit limits
// have no neighbours instead of wrapping round.
IScreen* k_Screen::FindInWorld(std::int64_t column, std::int64_t row) {
    for (auto& screen : world->GetScreens()) {
        if (screen->GetX() == column && screen->GetY() == row) {
            return screen.get();
        }
    }
    return nullptr;
}

// A sprite that cannot be built takes the ones built before it out of the scene again, so a
// screen whose entry failed holds no live sprites and is not announced as entered.
void k_Screen::Enter() {
    try {
        for (const SpriteData& record : spriteData) {
            BuildSprite(record);
        }
    } catch (...) {
        RemoveLiveSprites();
        throw;
    }
    if (IUniverse* universe = engine->GetUniverse()) {
        universe->NotifyScreenEntered(this);
    }
}

void k_Screen::BuildSprite(const SpriteData& record) {
    std::unique_ptr<ISprite> sprite = engine->CreateSprite(record.type);
    ISprite* live = sprite.get();
    sprites.push_back(std::move(sprite));
    if (ITexture* texture = RecordTexture(*engine, record)) {
        live->SetTexture(texture);
    }
    live->SetData(record);
    engine->AddSprite(live, false, nullptr);
}

void k_Screen::Leave() {
    if (IUniverse* universe = engine->GetUniverse()) {
        universe->NotifyScreenLeft(this);
    }
    RemoveLiveSprites();
}

void k_Screen::RemoveLiveSprites() {
    for (auto& sprite : sprites) {
        engine->RemoveSprite(sprite.get());
        sprite.reset();
    }
    sprites.clear();
}
