#include <gtest/gtest.h>

#include <climits>

#include "support/SpriteRecords.h"
#include "support/WorldFakes.h"
#include "world/k_Universe.h"

namespace {

std::vector<IScreen*> g_entered;
std::vector<IScreen*> g_left;
void RecordEntered(IScreen* screen) { g_entered.push_back(screen); }
void RecordLeft(IScreen* screen) { g_left.push_back(screen); }

class UniverseTest : public ::testing::Test {
protected:
    UniverseTest() {
        engine.universe = universe.get();
        g_entered.clear();
        g_left.clear();
    }

    IWorld* AddWorld() {
        universe->GetWorlds().push_back(universe->CreateWorld());
        return universe->GetWorlds().back().get();
    }

    IScreen* AddScreen(IWorld* world, int x, int y, std::vector<SpriteData> records = {}) {
        world->GetScreens().push_back(world->CreateScreen(x, y));
        world->GetScreens().back()->GetSpriteData() = std::move(records);
        return world->GetScreens().back().get();
    }

    WorldFakeEngine engine;
    std::unique_ptr<k_Universe> universe = std::make_unique<k_Universe>(&engine);
};

TEST_F(UniverseTest, WaterRecordsShareTheWaterShaderAndOtherSpecialsShowTheirPicture) {
    IWorld* world = AddWorld();
    IScreen* screen = AddScreen(world, 0, 0,
                                {Record(r_SpriteType::Background, L"Water", 0, 0, true),
                                 Record(r_SpriteType::Background, L"Water", 50, 0, true),
                                 Record(r_SpriteType::Background, L"water", 100, 0, true),
                                 Record(r_SpriteType::Background, L"Water", 150, 0, false)});
    universe->SetCurrentWorld(world);

    auto& sprites = screen->GetSprites();
    ASSERT_EQ(sprites.size(), 4u);
    EXPECT_EQ(sprites[0]->GetTexture(), sprites[1]->GetTexture());
    ASSERT_EQ(engine.shaderRequests.size(), 2u);
    EXPECT_EQ(engine.shaderRequests[0], L"Water|water.vs|water.fs|50x50");
    // The name is case-sensitive, and a record that is not special asks for a picture.
    EXPECT_EQ(engine.textureRequests, (std::vector<std::wstring>{L"water", L"Water"}));
    EXPECT_NE(sprites[2]->GetTexture(), sprites[0]->GetTexture());
    EXPECT_EQ(sprites[2]->GetData().texture, L"water");
    EXPECT_TRUE(sprites[2]->GetData().special);
}

TEST_F(UniverseTest, EnteringBuildsSpritesFromRecordsAndReenteringFromUntouchedOnes) {
    IWorld* world = AddWorld();
    IScreen* screen = AddScreen(world, 0, 0,
                                {Record(r_SpriteType::Breakable, L"piece.png", 10, 20),
                                 Record(r_SpriteType::Door, L"door.png", 30, 40)});
    universe->SetCurrentWorld(world);
    ASSERT_EQ(world->GetCurrentScreen(), screen);
    ASSERT_EQ(screen->GetSprites().size(), 2u);
    auto* piece = static_cast<FakeSprite*>(screen->GetSprites()[0].get());
    auto* door = static_cast<FakeSprite*>(screen->GetSprites()[1].get());
    EXPECT_EQ(piece->data.type, r_SpriteType::Breakable);
    EXPECT_EQ(piece->texture, engine.GetTexture(L"piece.png"));
    EXPECT_FLOAT_EQ(piece->data.top, 20);
    EXPECT_TRUE(engine.scene.count(piece) && engine.scene.count(door));

    // The game breaks a piece, opens the door and pushes a sprite about.
    piece->GetData().broken = true;
    piece->GetData().left = 500;
    engine.RemoveSprite(piece);
    door->SetTriggered(true);
    engine.RemoveSprite(door);
    world->SetCurrentScreen(screen);

    ASSERT_EQ(screen->GetSprites().size(), 2u);
    EXPECT_EQ(engine.scene.size(), 2u) << "both pieces are back in the scene";
    EXPECT_FALSE(screen->GetSprites()[0]->GetData().broken);
    EXPECT_FLOAT_EQ(screen->GetSprites()[0]->GetData().left, 10);
    EXPECT_FALSE(screen->GetSprites()[1]->IsTriggered());
    EXPECT_EQ(engine.spritesCreated, 4);
}

TEST_F(UniverseTest, ChangingScreensAndWorldsLeavesTheOldOnes) {
    IWorld* first = AddWorld();
    IScreen* a = AddScreen(first, 0, 0, {Record(r_SpriteType::SolidCube, L"a.png", 0, 0)});
    IScreen* b = AddScreen(first, 1, 0, {Record(r_SpriteType::SolidCube, L"b.png", 0, 0)});
    IWorld* second = AddWorld();
    IScreen* c = AddScreen(second, 5, 5, {Record(r_SpriteType::SolidCube, L"c.png", 0, 0)});
    universe->SetScreenEnteredHandler(RecordEntered);
    universe->SetScreenLeftHandler(RecordLeft);

    universe->SetCurrentWorld(first);
    first->SetCurrentScreen(b);
    EXPECT_TRUE(a->GetSprites().empty());
    EXPECT_EQ(b->GetSprites().size(), 1u);

    universe->SetCurrentWorld(second);
    EXPECT_TRUE(b->GetSprites().empty());
    EXPECT_EQ(first->GetCurrentScreen(), nullptr);
    EXPECT_EQ(second->GetCurrentScreen(), c);

    // A world made current again enters its first screen, not the one current before.
    universe->SetCurrentWorld(first);
    EXPECT_EQ(first->GetCurrentScreen(), a);

    universe->SetCurrentWorld(nullptr);
    EXPECT_EQ(universe->GetCurrentWorld(), nullptr);
    EXPECT_TRUE(engine.scene.empty());
    EXPECT_EQ(g_entered, (std::vector<IScreen*>{a, b, c, a}));
    EXPECT_EQ(g_left, (std::vector<IScreen*>{a, b, c, a}));

    universe->SetScreenEnteredHandler(nullptr);
    universe->SetScreenLeftHandler(nullptr);
    universe->SetCurrentWorld(first);
    universe->SetCurrentWorld(nullptr);
    EXPECT_EQ(g_entered.size(), 4u) << "cleared handlers are not called";
}

TEST_F(UniverseTest, NeighboursAreTheFirstMatchInTheSameWorldAndNeverWrapAround) {
    IWorld* world = AddWorld();
    IScreen* centre = AddScreen(world, 0, 0);
    IScreen* right = AddScreen(world, 1, 0);
    IScreen* rightDuplicate = AddScreen(world, 1, 0);
    IScreen* below = AddScreen(world, 0, 1);
    IScreen* above = AddScreen(world, 0, -1);
    IScreen* left = AddScreen(world, -1, 0);
    IScreen* foreign = AddScreen(AddWorld(), 1, 1);

    EXPECT_EQ(centre->GetRight(), right);
    EXPECT_EQ(rightDuplicate->GetLeft(), centre);
    EXPECT_EQ(centre->GetBelow(), below);
    EXPECT_EQ(centre->GetAbove(), above);
    EXPECT_EQ(centre->GetLeft(), left);
    EXPECT_EQ(right->GetRight(), nullptr);
    EXPECT_EQ(below->GetRight(), nullptr) << "(1, 1) exists only in the other world";
    EXPECT_EQ(foreign->GetLeft(), nullptr);

    IWorld* edges = AddWorld();
    EXPECT_EQ(AddScreen(edges, INT_MAX, 0)->GetRight(), nullptr);
    EXPECT_EQ(AddScreen(edges, INT_MIN, 0)->GetLeft(), nullptr);
    EXPECT_EQ(AddScreen(edges, 0, INT_MAX)->GetBelow(), nullptr);
    EXPECT_EQ(AddScreen(edges, 0, INT_MIN)->GetAbove(), nullptr);
}

TEST_F(UniverseTest, ReleasingAScreenOrTheUniverseTakesItsSpritesOutOfTheScene) {
    IWorld* world = AddWorld();
    std::unique_ptr<IScreen> lone = world->CreateScreen(0, 0);
    lone->GetSpriteData().push_back(Record(r_SpriteType::SolidCube, L"a.png", 0, 0));
    lone->Enter();
    ASSERT_EQ(engine.scene.size(), 1u);
    lone.reset();
    EXPECT_TRUE(engine.scene.empty());

    AddScreen(world, 0, 0, {Record(r_SpriteType::SolidCube, L"a.png", 0, 0), Record(r_SpriteType::Door, L"d.png", 0, 0)});
    AddScreen(world, 1, 0, {Record(r_SpriteType::SolidCube, L"b.png", 0, 0)});
    universe->SetScreenLeftHandler(RecordLeft);
    universe->SetCurrentWorld(world);
    ASSERT_EQ(engine.scene.size(), 2u);
    const int removedBefore = engine.spritesRemoved;
    universe.reset();
    EXPECT_TRUE(engine.scene.empty());
    EXPECT_EQ(engine.spritesRemoved - removedBefore, 2);
    EXPECT_EQ(g_left.size(), 1u);
}

}  // namespace
