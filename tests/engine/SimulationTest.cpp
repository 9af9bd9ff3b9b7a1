// The engine's simulation in fixed steps, as the game's loop runs it: pieces at rest stay at
// rest, and the state after a run depends only on the steps, not on how they were drawn.
#include <gtest/gtest.h>

#include <cmath>

#include "IScreen.h"
#include "IWorld.h"
#include "app/FixedSteps.h"
#include "support/EngineOnDisplay.h"
#include "support/SpriteRecords.h"

namespace {

constexpr float kStep = static_cast<float>(FixedSteps::kStepSeconds);

class SimulationTest : public EngineOnDisplay {
protected:
    ISprite* Piece(const std::wstring& texture) {
        for (auto& sprite : engine->GetUniverse()->GetCurrentWorld()->GetCurrentScreen()->GetSprites()) {
            if (sprite->GetData().texture == texture) {
                return sprite.get();
            }
        }
        return nullptr;
    }
};

}  // namespace

TEST_F(SimulationTest, ALoosePieceRestingOnAPlankStaysPutForAMinute) {
    // The boulder and plank of the first meadow screen.
    SpriteData boulder = Record(r_SpriteType::SolidSphere, L"tiles/boulder_32x32.png", 468, 344);
    SpriteData crate = Record(r_SpriteType::SolidCube, L"tiles/crate_32x32.png", 300, 440);
    SpriteData high = Record(r_SpriteType::SolidCube, L"tiles/plank_128x16.png", 420, 376);
    SpriteData low = Record(r_SpriteType::SolidCube, L"tiles/plank_128x16.png", 240, 472);
    high.isStatic = low.isStatic = true;
    boulder.isStatic = crate.isStatic = false;
    MakeWorld({{high, low, boulder, crate}});
    ISprite* rock = Piece(L"tiles/boulder_32x32.png");
    ISprite* box = Piece(L"tiles/crate_32x32.png");
    ASSERT_TRUE(rock && box);
    for (int step = 0; step < 3600; ++step) {
        engine->Simulate(kStep);
    }
    EXPECT_LT(std::hypot(rock->GetData().left - 468, rock->GetData().top - 344), 1.0f);
    EXPECT_LT(std::hypot(box->GetData().left - 300, box->GetData().top - 440), 1.0f);
}
