#include "world/k_Screen.h"

#include "IShaderTexture.h"
#include "ISprite.h"
#include "IUniverse.h"

namespace {

// The one special texture: an animated shader shared by every water sprite.
const wchar_t* const kWaterName = L"Water";
const wchar_t* const kWaterVertexShader = L"water.vs";
const wchar_t* const kWaterFragmentShader = L"water.fs";
constexpr int kWaterWidth = 50;
constexpr int kWaterHeight = 50;

}  // namespace

k_Screen::k_Screen(IEngine* engine, IWorld* world, int x, int y) : engine(engine), world(world), x(x), y(y) {}

// A screen is normally left before it is released; should it still hold live sprites, they
// leave the engine's scene first so that the scene never points at a released sprite.
k_Screen::~k_Screen() { RemoveLiveSprites(); }

std::vector<SpriteData>& k_Screen::GetSpriteData() { return spriteData; }

std::vector<std::unique_ptr<ISprite>>& k_Screen::GetSprites() { return sprites; }

int k_Screen::GetX() { return x; }

int k_Screen::GetY() { return y; }

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

void k_Screen::Enter() {
    for (const SpriteData& record : spriteData) {
        std::unique_ptr<ISprite> sprite = engine->CreateSprite(record.type);
        ISprite* live = sprite.get();
        sprites.push_back(std::move(sprite));
        if (ITexture* texture = ChooseTexture(record)) {
            live->SetTexture(texture);
        }
        live->SetData(record);
        engine->AddSprite(live, false, nullptr);
    }
    if (IUniverse* universe = engine->GetUniverse()) {
        universe->NotifyScreenEntered(this);
    }
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

// "Water" (exact case) on a special record is the shared water shader. A special record with
// any other name has no special texture to show, so it shows the picture of that name like an
// ordinary record: the level still loads and the designer sees the name that was meant.
ITexture* k_Screen::ChooseTexture(const SpriteData& record) {
    if (record.special && record.texture == kWaterName) {
        return engine->GetShaderTexture(kWaterName, kWaterVertexShader, kWaterFragmentShader, kWaterWidth,
                                        kWaterHeight);
    }
    return engine->GetTexture(record.texture);
}
