// The contact rules fed with contact points directly, and the adapter in a real world.
#include <gtest/gtest.h>

#include "Failure.h"
#include "game/PhysicsScale.h"
#include "game/SpriteBody.h"
#include "game/k_ContactListener.h"
#include "platform/VirtualKeys.h"
#include "platform/k_Window.h"
#include "support/SpriteRecords.h"
#include "support/WorldFakes.h"
#include "world/ScreenGeometry.h"

namespace {

// Records the listener's calls to the engine as one line of words.
class RecordingEngine : public FakeEngine {
public:
    ISprite* GetPlayerSprite() override { return player; }
    void QueueRemoveSprite(ISprite*) override { log += L"queue "; }
    void Kill() override { log += L"kill "; }
    void OnHit(ISprite*) override { log += L"hit "; }
    void PlaySound(const std::wstring& name) override {
        log += name + L" ";
        if (soundsFail) {
            throw k_Failure(L"cannot decode " + name);
        }
    }

    ISprite* player = nullptr;
    std::wstring log;
    bool soundsFail = false;
};

class ContactTest : public ::testing::Test {
protected:
    void SetUp() override { engine.window = &window; }

    // A sprite of the type in the scene with its body; the first sprite added is the ball.
    b2Body* Add(FakeSprite& sprite, r_SpriteType::Value type, float left, float top, int width = 32,
                bool fixed = true) {
        sprite.data = Record(type, L"", left, top);
        sprite.data.isStatic = fixed && type != r_SpriteType::SolidSphere;
        b2Body* body = CreateSpriteBody(physics.GetWorld(), sprite.data, width, 32);
        engine.scene[&sprite] = body;
        engine.player = engine.player ? engine.player : &sprite;
        return body;
    }
    // Up and Down as a player may bind them.
    void Keys(bool up, bool down) {
        window.SetKeyDown('W', up);
        window.SetKeyDown('S', down);
    }

    k_PhysicsWorld physics{PixelVector{kScreenWidth, kScreenHeight}};
    RecordingEngine engine;
    k_Window window{&engine, L"test", 8, 8, false};
    const SteeringKeys steering{{VK_LEFT, 0}, {VK_RIGHT, 0}, {'W', 0}, {'S', 0}};
    k_ContactListener listener{&engine, &physics, &steering};
    FakeSprite ball, piece, other;
};

}  // namespace

TEST_F(ContactTest, BounceLimitsByKeysAndSurface) {
    b2Body* ballBody = Add(ball, r_SpriteType::SolidSphere, 100, 100);
    b2Body* floorBody = Add(piece, r_SpriteType::SolidCube, 100, 132);
    struct Row { bool up, down; PixelVector normal, pointVelocity, before, after; };
    const Row rows[] = {
        {false, false, {0, -1}, {0, -5}, {3, -5}, {3, -20}},   {false, false, {0, -1}, {0, -1}, {0, -80}, {0, -50}},
        {true, false, {0, -1}, {0, -1}, {0, -80}, {0, -70}},   {false, true, {0, -1}, {0, -1}, {0, -30}, {0, -30}},
        {true, true, {0, -1}, {0, -1}, {0, -80}, {0, -40}},    {false, false, {0, -1}, {0, 5}, {0, 5}, {0, 5}},
        {false, false, {-1, 0}, {0, 0}, {2, 7}, {5, 7}},       {false, false, {1, 0}, {0, 0}, {-60, 0}, {-50, 0}},
        {false, false, {-1, 0}, {0, 0}, {0, 0}, {-5, 0}},      {false, true, {-1, 0}, {0, 0}, {20, 0}, {15, 0}},
        {true, false, {-1, 0}, {0, 0}, {80, 0}, {70, 0}},      {false, false, {0.6f, -0.8f}, {0, -9}, {1, -2}, {1, -2}},
    };
    for (const Row& row : rows) {
        Keys(row.up, row.down);
        physics.SetVelocity(ballBody, row.before);
        listener.Remove(ContactPoint{floorBody, ballBody, row.normal, row.pointVelocity});
        PixelVector after = physics.GetVelocity(ballBody);
        EXPECT_FLOAT_EQ(after.x, row.after.x) << row.before.x << "," << row.before.y;
        EXPECT_FLOAT_EQ(after.y, row.after.y) << row.before.x << "," << row.before.y;
    }
}

TEST_F(ContactTest, EventsBySpriteTypeAndSpeed) {
    b2Body* ballBody = Add(ball, r_SpriteType::SolidSphere, 100, 100);
    b2Body* pieceBody = Add(piece, r_SpriteType::SolidCube, 100, 132);
    const struct { r_SpriteType::Value type; float speed; const wchar_t* log; } rows[] = {
        {r_SpriteType::Breakable, 49.9f, L"hit sounds\\s3.wav "},
        {r_SpriteType::Breakable, 50.0f, L"hit queue sounds\\explosion.wav "},
        {r_SpriteType::Dangerous, 0.0f, L"hit kill sounds\\die.wav "},
        {r_SpriteType::Dangerous, 120.0f, L"hit kill sounds\\die.wav "},
        {r_SpriteType::Door, 0.0f, L"hit sounds\\s1.wav "},
        {r_SpriteType::SolidCube, 150.0f, L"hit sounds\\s11.wav "},
    };
    for (const auto& row : rows) {
        piece.data.type = row.type;
        piece.data.broken = piece.triggered = false;
        engine.log.clear();
        physics.SetVelocity(ballBody, PixelVector{row.speed, 0});
        listener.Remove(ContactPoint{pieceBody, ballBody, {0.6f, -0.8f}, {0, 0}});  // a slope: no limits
        EXPECT_EQ(engine.log, row.log) << row.type << " at " << row.speed;
        EXPECT_EQ(piece.data.broken && piece.triggered, row.log == std::wstring(L"hit queue sounds\\explosion.wav "));
    }

    // A broken piece is still in the scene for the rest of the step; death ends no sounds.
    engine.log.clear();
    piece.data.type = r_SpriteType::Breakable;
    physics.SetVelocity(ballBody, PixelVector{60, 0});
    listener.Remove(ContactPoint{pieceBody, ballBody, {0.6f, -0.8f}, {0, 0}});
    listener.Remove(ContactPoint{ballBody, pieceBody, {0.6f, -0.8f}, {0, 0}});
    b2Body* spikes = Add(other, r_SpriteType::Dangerous, 200, 132);
    listener.Remove(ContactPoint{spikes, ballBody, {0.6f, -0.8f}, {0, 0}});
    listener.Remove(ContactPoint{spikes, pieceBody, {0.6f, -0.8f}, {0, 0}});  // without the ball: nothing
    engine.scene.erase(&piece);  // a body of no sprite: no event
    listener.Remove(ContactPoint{pieceBody, ballBody, {0.6f, -0.8f}, {0, 0}});
    EXPECT_EQ(engine.log, L"hit queue sounds\\explosion.wav hit queue sounds\\explosion.wav hit kill sounds\\die.wav ");
}

TEST_F(ContactTest, LooseBodiesKeepTheirSpeedAtEveryFrameRateAndFixedOnesStay) {
    b2Body* ballBody = Add(ball, r_SpriteType::SolidSphere, 0, 0);
    b2Body* loose = Add(piece, r_SpriteType::Breakable, 100, 0, 32, false);
    b2Body* fixed = Add(other, r_SpriteType::Breakable, 200, 0);
    physics.SetContactListener(&listener);
    for (float framesPerSecond : {10.0f, 60.0f, 300.0f}) {
        physics.SetVelocity(ballBody, PixelVector{70, 0});
        physics.Step(6.0f / framesPerSecond, 1);  // a sub-step: dt x 12 x 0.5
        EXPECT_NEAR(physics.GetVelocity(ballBody).x, 70.0f, 1e-3) << framesPerSecond;
    }
    EXPECT_GT(physics.GetPosition(loose).y, 16.0f);
    EXPECT_EQ(physics.GetPosition(fixed).y, 16.0f);
}

TEST_F(ContactTest, AFailureInsideTheWorldIsRaisedOnceTheWorldIsUnlocked) {
    b2Body* ballBody = Add(ball, r_SpriteType::SolidSphere, 100, 400);
    b2Body* floor = Add(piece, r_SpriteType::SolidCube, 0, 500, 256);
    physics.SetContactListener(&listener);
    engine.soundsFail = true;
    EXPECT_THROW(for (int step = 0; step < 100; ++step) physics.Step(0.1f, 1), k_Failure);
    EXPECT_FALSE(physics.GetWorld()->IsLocked());

    engine.soundsFail = false;
    physics.SetRestitution(ballBody, 0.0f);
    physics.MoveBody(ballBody, PixelVector{116, 484}, 0);
    physics.Step(0.1f, 1);
    engine.soundsFail = true;
    EXPECT_THROW(physics.DestroyBody(floor), k_Failure);  // its contact with the ball ends
    EXPECT_EQ(physics.GetWorld()->GetBodyCount(), 1);
    physics.Step(0.1f, 1);
}

TEST_F(ContactTest, AdapterReportsExactNormalsAndThePointsVelocity) {
    struct Recorder : k_ContactAdapter {
        void Remove(const ContactPoint& point) override { points.push_back(point); }
        std::vector<ContactPoint> points;
    } recorder;
    physics.SetContactListener(&recorder);
    b2Body* ballBody = Add(ball, r_SpriteType::SolidSphere, 100, 400);
    b2Body* floor = Add(piece, r_SpriteType::SolidCube, 0, 500, 256);
    b2Body* wall = Add(other, r_SpriteType::SolidCube, 300, 300, 32);
    for (int step = 0; step < 100 && recorder.points.empty(); ++step) {
        physics.Step(0.1f, 1);
    }
    ASSERT_EQ(recorder.points.size(), 1u);
    const ContactPoint& first = recorder.points[0];
    EXPECT_EQ(std::tuple(first.body1, first.body2, first.normal.x, first.normal.y), std::tuple(floor, ballBody, 0.0f, -1.0f));
    EXPECT_LT(first.velocity.y, -20.0f);

    physics.MoveBody(ballBody, PixelVector{250, 316}, 0);
    physics.SetVelocity(ballBody, PixelVector{40, 0});
    for (int step = 0; step < 100 && recorder.points.size() < 2; ++step) {
        physics.Step(0.1f, 1);
    }
    ASSERT_EQ(recorder.points.size(), 2u);
    const ContactPoint& second = recorder.points[1];
    EXPECT_EQ(std::tuple(second.body1, second.normal.x, second.normal.y), std::tuple(wall, -1.0f, 0.0f));
}

TEST_F(ContactTest, UpBouncesHigherThanDownOffAFloorTheBallRestsOn) {
    b2Body* ballBody = Add(ball, r_SpriteType::SolidSphere, 100, 468);
    Add(piece, r_SpriteType::SolidCube, 0, 500, 256);
    physics.SetContactListener(&listener);
    physics.KeepAwake(ballBody);
    engine.player = nullptr;  // only the physics is measured here
    float bounces[2];
    for (float restitution : {1.3f, 0.6f}) {
        physics.Step(0.1f, 1);
        physics.SetRestitution(ballBody, restitution);
        physics.SetVelocity(ballBody, PixelVector{0, 30});
        physics.Step(0.1f, 1);
        bounces[restitution < 1.0f] = -physics.GetVelocity(ballBody).y;
        physics.MoveBody(ballBody, PixelVector{116, 484}, 0);
        physics.SetVelocity(ballBody, PixelVector{0, 0});
    }
    EXPECT_GT(bounces[0], 36.0f);
    EXPECT_LT(bounces[1], 20.0f);
}
