// One 800 x 600 screen of a world: its sprite records, and its live sprites while current.
#pragma once

#include <memory>
#include <vector>

#include "ISprite.h"
#include "SpriteData.h"

class IScreen {
public:
    virtual ~IScreen() = default;

    virtual std::vector<SpriteData>& GetSpriteData() = 0;
    virtual std::vector<std::unique_ptr<ISprite>>& GetSprites() = 0;
    virtual int GetX() = 0;
    virtual int GetY() = 0;
    // Neighbours in the same world: the first screen in list order at that column and row.
    virtual IScreen* GetRight() = 0;
    virtual IScreen* GetLeft() = 0;
    virtual IScreen* GetBelow() = 0;
    virtual IScreen* GetAbove() = 0;
    // Called only by IWorld::SetCurrentScreen.
    virtual void Enter() = 0;
    virtual void Leave() = 0;
    // What reaching the screen means for a run: a goal finishes the world; after a death the
    // ball starts again on the last checkpoint reached.
    virtual bool IsGoal() = 0;
    virtual void SetGoal(bool goal) = 0;
    virtual bool IsCheckpoint() = 0;
    virtual void SetCheckpoint(bool checkpoint) = 0;
};
