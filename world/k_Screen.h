// One screen of a world: keeps its sprite records and, while it is current, the live sprites
// built from them. Owns both lists; entering rebuilds the sprites, leaving destroys them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "IEngine.h"
#include "IScreen.h"
#include "IWorld.h"

class k_Screen : public IScreen {
public:
    k_Screen(IEngine* engine, IWorld* world, int x, int y);
    ~k_Screen() override;

    std::vector<SpriteData>& GetSpriteData() override;
    std::vector<std::unique_ptr<ISprite>>& GetSprites() override;
    int GetX() override;
    int GetY() override;
    IScreen* GetRight() override;
    IScreen* GetLeft() override;
    IScreen* GetBelow() override;
    IScreen* GetAbove() override;
    void Enter() override;
    void Leave() override;
    bool IsGoal() override;
    void SetGoal(bool goal) override;
    bool IsCheckpoint() override;
    void SetCheckpoint(bool checkpoint) override;

private:
    IScreen* FindInWorld(std::int64_t column, std::int64_t row);
    void BuildSprite(const SpriteData& record);
    void RemoveLiveSprites();

    IEngine* engine;
    IWorld* world;
    int x;
    int y;
    bool goal = false;
    bool checkpoint = false;
    std::vector<std::unique_ptr<ISprite>> sprites;
    std::vector<SpriteData> spriteData;
};
