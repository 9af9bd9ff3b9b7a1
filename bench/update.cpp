// The frame update against the physics library alone, in one run:
//   Update on a screen of 300 (and of 1,000) loose pieces and the ball, drawing left out (the
//   sprites draw nothing and no rendering context is current), against the same bodies stepped in a bare world
//   with the same two sub-steps (goal: ratio at most 1.25);
//   on a screen where every piece touches another, Update with the contact listener attached
//   against Update without it, each over the same bare baseline (goal: the ratios differ by at
//   most 0.1);
//   the game's fixed steps on the 300-piece screen with every step's keys recorded, against the
//   same steps with the keys read but not kept (goal: ratio at most 1.02).
// Each iteration builds the screen untimed, then times 30 frames of ours and of the baseline
// back to back, alternating which goes first, in CPU time of the calling thread (which does
// all of the work; the machine is shared, so the wall clock would measure the neighbours).
// The bare world lives as long as the engine's and sees the same bodies come and go, so both
// step bodies laid out in memory by the same history. Needs a display (run under xvfb-run).
#include <GL/glx.h>
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Game.h"
#include "app/StepInput.h"
#include "engine/k_Engine.h"
#include "game/PhysicsScale.h"
#include "game/SpriteBody.h"
#include "tests/support/WorldFakes.h"

namespace {

constexpr int kFrames = 30;
constexpr float kFrameTime = 1.0f / 60.0f;
constexpr float kSubStep = kFrameTime * 12.0f * 0.5f;  // as the frame update steps
constexpr double kUpdateGoal = 1.25;
constexpr double kListenerGoal = 0.1;
constexpr double kRecordingGoal = 1.02;
constexpr int kBallSize = 32;

// A piece that has a body but draws nothing.
class BenchSprite : public FakeSprite {
public:
    b2Body* CreateBody(b2World* world) override {
        return CreateSpriteBody(world, data, texture->GetWidth(), texture->GetHeight());
    }
};

struct Layout {
    int columns, rows, size, spacingX, spacingY;
};
// Spread pieces never meet while they fall; a touching row has its pieces side by side.
const Layout kSpread300{20, 15, 32, 40, 40};
const Layout kSpread1000{40, 25, 16, 20, 24};
const Layout kTouching300{25, 12, 32, 32, 48};

std::vector<SpriteData> Pieces(const Layout& layout) {
    std::vector<SpriteData> pieces;
    for (int row = 0; row < layout.rows; ++row) {
        for (int column = 0; column < layout.columns; ++column) {
            SpriteData data;
            data.type = (row + column) % 2 ? r_SpriteType::Breakable : r_SpriteType::SolidCube;
            data.left = static_cast<float>(column * layout.spacingX);
            data.top = static_cast<float>(row * layout.spacingY);
            pieces.push_back(data);
        }
    }
    return pieces;
}

SpriteData BallRecord() {
    SpriteData ball;
    ball.type = r_SpriteType::SolidSphere;
    ball.left = 384.0f;
    ball.top = -40.0f;
    return ball;
}

struct Screen {
    std::vector<std::unique_ptr<BenchSprite>> sprites;
    std::map<int, std::unique_ptr<FakeTexture>> textures;

    ISprite* Add(IEngine& engine, const SpriteData& data, int size) {
        auto& texture = textures[size];
        if (!texture) {
            texture = std::make_unique<FakeTexture>(L"piece");
            texture->width = texture->height = size;
        }
        sprites.push_back(std::make_unique<BenchSprite>());
        sprites.back()->SetTexture(texture.get());
        sprites.back()->data = data;
        engine.AddSprite(sprites.back().get(), false, nullptr);
        return sprites.back().get();
    }
};

k_Engine& Engine() {
    static Settings settings{{L"Title", L"bench"}, {L"Width", L"64"}, {L"Height", L"48"}, {L"Fullscreen", L"0"},
                             {L"Zip", L"0"}};
    static k_Engine* engine = [] {
        auto* made = new k_Engine(settings);
        made->Init();
        glXMakeCurrent(glXGetCurrentDisplay(), None, nullptr);
        return made;
    }();
    return *engine;
}

b2World& BareWorld() {
    static b2World world(b2Vec2(0.0f, ToMetres(10.0f)));
    return world;
}

double ThreadSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

std::map<std::string, double> ratios;

// Times kFrames of Update on the layout against the bare world, and records the ratio.
void Compare(benchmark::State& state, const std::string& label, const Layout& layout, bool withListener) {
    k_Engine& engine = Engine();
    double oursTotal = 0;
    double baselineTotal = 0;
    bool oursFirst = false;
    for (auto _ : state) {
        Screen screen;
        ISprite* ball = screen.Add(engine, BallRecord(), kBallSize);
        engine.SetPlayerSprite(ball);
        for (const SpriteData& piece : Pieces(layout)) {
            screen.Add(engine, piece, layout.size);
        }
        b2World* world = engine.GetScene().at(ball)->GetWorld();
        b2ContactListener* listener = world->GetContactManager().m_contactListener;
        world->SetContactListener(withListener ? listener : nullptr);

        b2World& bare = BareWorld();
        CreateSpriteBody(&bare, BallRecord(), kBallSize, kBallSize);
        for (const SpriteData& piece : Pieces(layout)) {
            CreateSpriteBody(&bare, piece, layout.size, layout.size);
        }

        auto ours = [&] {
            for (int frame = 0; frame < kFrames; ++frame) {
                engine.Update(kFrameTime);
            }
        };
        auto baseline = [&] {
            for (int frame = 0; frame < kFrames * 2; ++frame) {
                bare.Step(kSubStep, 1, 1);
            }
        };
        oursFirst = !oursFirst;
        auto time = [](auto work) {
            double start = ThreadSeconds();
            work();
            return ThreadSeconds() - start;
        };
        double oursTime = oursFirst ? time(ours) : 0;
        baselineTotal += time(baseline);
        oursTime = oursFirst ? oursTime : time(ours);
        oursTotal += oursTime;
        state.SetIterationTime(oursTime);

        world->SetContactListener(listener);
        engine.SetPlayerSprite(nullptr);
        for (auto& sprite : screen.sprites) {
            engine.RemoveSprite(sprite.get());
        }
        while (b2Body* body = bare.GetBodyList()) {
            bare.DestroyBody(body);
        }
    }
    double iterations = static_cast<double>(state.iterations());
    state.counters["ours_ms"] = 1000 * oursTotal / iterations;
    state.counters["baseline_ms"] = 1000 * baselineTotal / iterations;
    state.counters["ratio"] = oursTotal / baselineTotal;
    ratios[label] = oursTotal / baselineTotal;
}

// Times kFrames * 2 fixed steps with the keys recorded against as many with the keys only read.
void Recording(benchmark::State& state) {
    k_Engine& engine = Engine();
    double recordedTotal = 0;
    double readTotal = 0;
    bool recordedFirst = false;
    for (auto _ : state) {
        Screen screen;
        for (const SpriteData& piece : Pieces(kSpread300)) {
            screen.Add(engine, piece, kSpread300.size);
        }
        StepInput input;
        auto steps = [&](bool record) {
            double start = ThreadSeconds();
            for (int step = 0; step < kFrames * 2; ++step) {
                const StepKeys keys = record ? input.Next(*engine.GetWindow()) : ReadStepKeys(*engine.GetWindow());
                PlayStepKeys(keys, 0, 1);
                engine.Simulate(kFrameTime);
            }
            return ThreadSeconds() - start;
        };
        recordedFirst = !recordedFirst;
        double recorded = recordedFirst ? steps(true) : 0;
        readTotal += steps(false);
        recorded = recordedFirst ? recorded : steps(true);
        recordedTotal += recorded;
        state.SetIterationTime(recorded);
        for (auto& sprite : screen.sprites) {
            engine.RemoveSprite(sprite.get());
        }
    }
    state.counters["ratio"] = recordedTotal / readTotal;
    ratios["steps recorded / steps not recorded"] = recordedTotal / readTotal;
}

void Update300(benchmark::State& state) { Compare(state, "Update, 300 pieces / bare world", kSpread300, true); }
void Update1000(benchmark::State& state) { Compare(state, "Update, 1000 pieces / bare world", kSpread1000, true); }
void TouchingWithListener(benchmark::State& state) {
    Compare(state, "touching, with listener", kTouching300, true);
}
void TouchingWithoutListener(benchmark::State& state) {
    Compare(state, "touching, without listener", kTouching300, false);
}

}  // namespace

BENCHMARK(Update300)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Update1000)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TouchingWithListener)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TouchingWithoutListener)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Recording)->Iterations(40)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // The engine opens audio; a benchmark machine need not have a sound device.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    Engine();
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\n");
    for (const char* label : {"Update, 300 pieces / bare world", "Update, 1000 pieces / bare world"}) {
        double ratio = ratios[label];
        std::printf("ratio %-50s %.3f (limit %.2f) %s\n", label, ratio, kUpdateGoal, ratio <= kUpdateGoal ? "ok" : "OVER");
    }
    double change = ratios["touching, with listener"] - ratios["touching, without listener"];
    std::printf("ratio %-50s %.3f - %.3f = %.3f (limit %.2f) %s\n", "touching, listener's change",
                ratios["touching, with listener"], ratios["touching, without listener"], change, kListenerGoal,
                change <= kListenerGoal ? "ok" : "OVER");
    const double recording = ratios["steps recorded / steps not recorded"];
    std::printf("ratio %-50s %.3f (limit %.2f) %s\n", "steps recorded / steps not recorded", recording, kRecordingGoal,
                recording <= kRecordingGoal ? "ok" : "OVER");
    benchmark::Shutdown();
    return 0;
}
