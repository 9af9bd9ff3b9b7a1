// The frame update against a real engine with an open window: deferred death and removals,
// the door rule, steering, the clock and screen changes at the edges.
#include <gtest/gtest.h>

#include <box2d/box2d.h>

#include "IWindow.h"
#include "game/PhysicsScale.h"
#include "platform/VirtualKeys.h"
#include "support/EngineOnDisplay.h"
#include "support/SpriteRecords.h"

namespace {

int g_deaths = 0;
int g_edges = 0;
int g_removes = 0;
void CountDeath(void*) { ++g_deaths; }
void CountRemove(ISprite*) { ++g_removes; }
void CountEdge(void*) { ++g_edges; }

class EngineUpdateTest : public EngineOnDisplay {
protected:
    void SetUp() override {
        EngineOnDisplay::SetUp();
        g_deaths = g_edges = g_removes = 0;
    }

    ISprite* AddPlayer(float left, float top) {
        player = engine->CreateSprite(r_SpriteType::SolidSphere);
        player->SetTexture(engine->GetTexture(L"ball.png"));
        player->GetData().left = left;
        player->GetData().top = top;
        engine->AddSprite(player.get(), false, nullptr);
        engine->SetPlayerSprite(player.get());
        return player.get();
    }

    ISprite* FindSprite(IScreen* screen, r_SpriteType::Value type) {
        for (auto& sprite : screen->GetSprites()) {
            if (sprite->GetData().type == type) {
                return sprite.get();
            }
        }
        return nullptr;
    }

    std::unique_ptr<ISprite> player;
};

}  // namespace

TEST_F(EngineUpdateTest, DeathAndQueuedRemovalsRunOnceAtTheStartOfTheNextFrame) {
    engine->SetDeathCallback(CountDeath);
    engine->SetRemoveCallback(CountRemove);
    ISprite* ball = AddPlayer(100, 100);
    ASSERT_NE(engine->GetScene().at(ball), nullptr);
    engine->Kill();
    engine->QueueRemoveSprite(ball);
    engine->QueueRemoveSprite(ball);
    EXPECT_EQ(std::pair(g_deaths, g_removes), std::pair(0, 2)) << "the hook hears each queuing at once";
    engine->Update(0.0f);
    EXPECT_EQ(g_deaths, 1);
    EXPECT_EQ(engine->GetScene().count(ball), 0u);
    engine->Update(0.0f);
    EXPECT_EQ(g_deaths, 1);

    engine->AddSprite(ball, false, nullptr);
    engine->QueueRemoveSprite(ball);
    engine->RemoveSprite(ball);
    // A sprite added again at the same address (as a new screen's sprite may be) stays.
    engine->AddSprite(ball, false, nullptr);
    engine->Update(0.0f);
    EXPECT_EQ(engine->GetScene().count(ball), 1u);
}

TEST_F(EngineUpdateTest, DoorsOpenOnceEveryBreakablePieceIsBroken) {
    IWorld* world = MakeWorld({{Record(r_SpriteType::Door, L"tiles/door_16x64.png", 700, 400),
                                Record(r_SpriteType::Breakable, L"tiles/cracked_32x32.png", 200, 400)},
                               {Record(r_SpriteType::Door, L"tiles/door_16x64.png", 700, 400)}});
    IScreen* screen = world->GetCurrentScreen();
    ISprite* door = FindSprite(screen, r_SpriteType::Door);
    ISprite* piece = FindSprite(screen, r_SpriteType::Breakable);
    engine->Update(0.0f);
    EXPECT_FALSE(door->IsTriggered());
    EXPECT_EQ(engine->GetScene().count(door), 1u);

    piece->SetTriggered(true);
    engine->Update(0.0f);
    EXPECT_TRUE(door->IsTriggered());
    EXPECT_EQ(engine->GetScene().count(door), 0u);

    world->SetCurrentScreen(screen);  // entering again rebuilds a closed door
    door = FindSprite(screen, r_SpriteType::Door);
    EXPECT_FALSE(door->IsTriggered());
    EXPECT_EQ(engine->GetScene().count(door), 1u);

    world->SetCurrentScreen(screen->GetRight());  // a screen without pieces opens at once
    engine->Update(0.0f);
    EXPECT_TRUE(FindSprite(world->GetCurrentScreen(), r_SpriteType::Door)->IsTriggered());
}

TEST_F(EngineUpdateTest, SteeringChangesSpeedByTheRateOverAFrame) {
    MakeWorld({{}});
    ISprite* ball = AddPlayer(300, 100);
    engine->GetWindow()->SetKeyDown(VK_RIGHT, true);
    engine->GetWindow()->SetKeyDown(VK_LEFT, true);  // right wins
    engine->Update(0.01f);
    // 100 px per time unit each second, in the air where nothing else pushes sideways.
    EXPECT_NEAR(ToPixels(engine->GetScene().at(ball)->GetLinearVelocity().x), 1.0f, 1e-4);
    EXPECT_NEAR(engine->GetTime(), 0.01f, 1e-6);

    engine->GetWindow()->SetKeyDown(VK_RIGHT, false);
    engine->GetWindow()->SetKeyDown(VK_LEFT, false);
    float before = ball->GetData().left;
    engine->Update(0.0f);
    EXPECT_EQ(ball->GetData().left, before) << "a frame of no time moves nothing";
    EXPECT_NEAR(engine->GetTime(), 0.01f, 1e-6);

    // A ball started as it arrives through an edge keeps the speed it is given.
    engine->SetPlayerVelocity(-115.0f, 110.0f);
    EXPECT_NEAR(ToPixels(engine->GetScene().at(ball)->GetLinearVelocity().x), -115.0f, 1e-3);
    EXPECT_NEAR(ToPixels(engine->GetScene().at(ball)->GetLinearVelocity().y), 110.0f, 1e-3);
}

// Left steers the other way; with no key the ball slows by the same rate and stops below a
// pixel per time unit; Up and Down make the ball bounce high or land softly.
TEST_F(EngineUpdateTest, SteeringLeftSlowingDownAndTheBounceFollowTheKeys) {
    MakeWorld({{}});
    ISprite* ball = AddPlayer(300, 100);
    b2Body* body = engine->GetScene().at(ball);
    IWindow* window = engine->GetWindow();
    auto speedAfterFrame = [&](float start) {
        body->SetLinearVelocity(ToMetres(b2Vec2(start, 0.0f)));
        engine->Update(0.01f);
        return ToPixels(body->GetLinearVelocity().x);
    };
    window->SetKeyDown(VK_LEFT, true);
    EXPECT_NEAR(speedAfterFrame(0.0f), -1.0f, 1e-4);
    window->SetKeyDown(VK_LEFT, false);
    EXPECT_NEAR(speedAfterFrame(5.0f), 4.0f, 1e-4);
    EXPECT_NEAR(speedAfterFrame(-5.0f), -4.0f, 1e-4);
    EXPECT_EQ(speedAfterFrame(0.5f), 0.0f);

    const struct {
        int key;
        float restitution;
    } bounces[] = {{VK_UP, 1.3f}, {VK_DOWN, 0.6f}, {0, 0.9f}};
    for (const auto& bounce : bounces) {
        window->SetKeyDown(VK_UP, bounce.key == VK_UP);
        window->SetKeyDown(VK_DOWN, bounce.key == VK_DOWN);
        engine->Update(0.0f);
        EXPECT_FLOAT_EQ(body->GetFixtureList()->GetRestitution(), bounce.restitution) << bounce.key;
    }
}

// The ball leaving through the top enters the screen above at its bottom, a screen's height on.
TEST_F(EngineUpdateTest, PassingTheTopEdgeEntersTheScreenAboveAtItsBottom) {
    IWorld* world = MakeWorld({{}});
    world->GetScreens().push_back(world->CreateScreen(0, -1));
    ISprite* ball = AddPlayer(100, -17);
    ball->GetData().isStatic = true;
    engine->Update(0.0f);
    EXPECT_EQ(world->GetCurrentScreen()->GetY(), -1);
    EXPECT_EQ(std::pair(ball->GetData().left, ball->GetData().top), std::pair(100.0f, 583.0f));
}

TEST_F(EngineUpdateTest, PassingAnEdgeChangesScreenOrCallsTheEdgeHook) {
    engine->SetEdgeCallback(CountEdge, nullptr);
    // Column 1 of row 0 between neighbours on every side but above.
    IWorld* world = MakeWorld({{}, {}, {}});
    world->GetScreens().push_back(world->CreateScreen(1, 1));
    IScreen* middle = world->GetScreens()[1].get();
    ISprite* ball = AddPlayer(100, 100);
    ball->GetData().isStatic = true;  // the record stays where the test puts it
    struct Case {
        float left, top;
        int column, row;  // the screen it ends on
        float endLeft, endTop;
    };
    const Case cases[] = {{784, 584, 1, 0, 784, 584}, {785, 100, 2, 0, -15, 100}, {-17, 100, 0, 0, 783, 100},
                          {100, 585, 1, 1, 100, -15}, {100, -17, 1, 0, 100, -17}};
    for (const Case& test : cases) {
        world->SetCurrentScreen(middle);
        ball->GetData().left = test.left;
        ball->GetData().top = test.top;
        engine->Update(0.0f);
        IScreen* now = world->GetCurrentScreen();
        EXPECT_EQ(std::pair(now->GetX(), now->GetY()), std::pair(test.column, test.row)) << test.left << ", " << test.top;
        EXPECT_EQ(std::pair(ball->GetData().left, ball->GetData().top), std::pair(test.endLeft, test.endTop));
    }
    EXPECT_EQ(g_edges, 1) << "only the way up leads nowhere";
}

TEST_F(EngineUpdateTest, APieceBrokenAsItsBodyIsDestroyedIsNotRemovedAgainLater) {
    ISprite* ball = AddPlayer(100, 100);
    std::unique_ptr<ISprite> piece = engine->CreateSprite(r_SpriteType::Breakable);
    piece->SetTexture(engine->GetTexture(L"tiles/cracked_32x32.png"));
    piece->SetData(Record(r_SpriteType::Breakable, L"tiles/cracked_32x32.png", 100, 132));
    piece->GetData().isStatic = true;
    engine->AddSprite(piece.get(), false, nullptr);
    engine->Update(0.001f);  // the ball, just above the piece, comes to touch it
    engine->GetScene().at(ball)->SetLinearVelocity(ToMetres(b2Vec2(60, 0)));
    engine->RemoveSprite(piece.get());  // ending the contact breaks the piece
    ASSERT_TRUE(piece->GetData().broken);

    piece->GetData().broken = false;  // a sprite at the same address enters the scene
    engine->AddSprite(piece.get(), false, nullptr);
    engine->Update(0.0f);
    EXPECT_EQ(engine->GetScene().count(piece.get()), 1u);
}
