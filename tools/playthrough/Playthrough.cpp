#include "tools/playthrough/Playthrough.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Failure.h"
#include "IEngine.h"
#include "IScreen.h"
#include "ISprite.h"
#include "IUniverse.h"
#include "IWorld.h"
#include "WideText.h"
#include "app/Game.h"
#include "app/GameLoop.h"
#include "app/Journey.h"
#include "base/Digest.h"
#include "platform/MessagePump.h"
#include "world/ScreenGeometry.h"

namespace {

// The engine's hooks are plain functions; they report to the one running playthrough.
Playthrough* g_Playthrough = nullptr;

// The simulated display: every reading of the counter is one frame later.
std::uint64_t g_SimulatedTicks = 0;
std::uint64_t g_SimulatedFramesPerSecond = 60;
std::uint64_t SimulatedNow() { return ++g_SimulatedTicks; }
std::uint64_t SimulatedFrequency() { return g_SimulatedFramesPerSecond; }
bool NoWait(int) { return false; }

// The scene keeps its 800 x 600 coordinates whatever the window's size; a small window (a
// quarter as wide and high) only makes the drawing of every frame cheap. In real time the
// window has the game's own size.
constexpr int kSmallWindowShrink = 4;
Settings WindowedSettings(bool realTime) {
    return Settings{{L"Title", L"Rollandia playthrough"},
                    {L"Width", std::to_wstring(realTime ? kScreenWidth : kScreenWidth / kSmallWindowShrink)},
                    {L"Height", std::to_wstring(realTime ? kScreenHeight : kScreenHeight / kSmallWindowShrink)},
                    {L"Fullscreen", L"0"},
                    {L"Zip", L"0"}};
}

// Loads the level file at the path and returns the digest of its bytes.
std::string LoadLevelFile(IEngine* engine, const std::string& levelPath) {
    std::ifstream in(levelPath, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Digest digest;
    digest.Add(bytes.data(), bytes.size());
    // Loading enters the data directory: the path must not depend on the current one.
    engine->GetUniverse()->LoadFromPath(std::filesystem::absolute(levelPath).wstring());
    return digest.Hex();
}

std::string Where(const SpriteData& data) {
    char text[64];
    std::snprintf(text, sizeof text, "(%.0f, %.0f)", data.left, data.top);
    return text;
}

}  // namespace

Playthrough::Playthrough(const std::string& levelPath, bool realTime, const std::string& worldName)
    : realTime(realTime) {
    // A playthrough is silent: sounds go to the audio library's dummy device unless the
    // caller chose another.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    Settings settings = WindowedSettings(realTime);
    engine = g_Engine = CreateEngine(settings);
    engine->Init();
    g_Playthrough = this;
    engine->SetDeathCallback(&Playthrough::OnDeath);
    engine->SetRemoveCallback(&Playthrough::OnRemove);
    ShowSplash(engine, 0);
    recording.levelDigest = levelPath.empty() ? LoadDataLevel(engine) : LoadLevelFile(engine, levelPath);
    recording.gameVersion = GameVersion();
    // The named world is current before play begins, as it is for a replay recorded in it.
    if (!worldName.empty()) {
        IWorld* world = FindWorld(*engine, worldName);
        if (!world) {
            throw k_Failure(L"The level has no world \"" + FromUtf8(worldName) + L"\"");
        }
        EnterWorld(*engine, *world);
    }
    recording.world = CurrentWorldName(*engine);
    engine->GetUniverse()->SetScreenEnteredHandler(&Playthrough::OnScreenEntered);
    engine->SetFrameCallback(&Playthrough::OnFrame, nullptr);
    StartPlaying(engine);
}

Playthrough::~Playthrough() {
    ReleaseGame();
    g_Playthrough = nullptr;
}

ScreenPosition Playthrough::CurrentScreen() const {
    IWorld* world = engine->GetUniverse()->GetCurrentWorld();
    IScreen* current = world ? world->GetCurrentScreen() : nullptr;
    return current ? ScreenPosition{current->GetX(), current->GetY()} : ScreenPosition{};
}

bool Playthrough::Play(const std::vector<StepKeys>& steps, int framesPerSecond) {
    StepInput input(steps);
    Counter counter;
    GameLoop::WaitFunction wait = nullptr;
    if (!realTime) {
        g_SimulatedFramesPerSecond = static_cast<std::uint64_t>(framesPerSecond);
        counter = Counter{SimulatedNow, SimulatedFrequency};
        wait = NoWait;
    }
    GameLoop loop(*engine, input, counter, wait);
    loop.Run();
    recording.steps = input.Recorded();
    stepsRun = loop.StepsRun();
    return IsBallInPlay(*engine);
}

std::string Playthrough::Summary() const { return RunSummary(*engine, stepsRun); }

void Playthrough::OnFrame(void*) {
    Playthrough* self = g_Playthrough;
    ISprite* player = self->engine->GetPlayerSprite();
    const float seconds = self->engine->GetTime();
    if (self->realTime) {
        // Whoever watches learns of a screen change as it happens.
        std::fflush(stdout);
    }
    if (self->traceInterval <= 0.0f || seconds - self->lastTrace < self->traceInterval || !player) {
        return;
    }
    self->lastTrace = seconds;
    const ScreenPosition screen = self->CurrentScreen();
    std::printf("  %.2f s: screen (%d, %d), ball at %s\n", seconds, screen.x, screen.y,
                Where(player->GetData()).c_str());
}

void Playthrough::OnScreenEntered(IScreen* screen) {
    std::printf("entered screen (%d, %d) at %.2f s\n", screen->GetX(), screen->GetY(), g_Playthrough->engine->GetTime());
}

// Logs the death, lets the game carry it out as it always does, and ends the play.
void Playthrough::OnDeath(void* userData) {
    Playthrough* self = g_Playthrough;
    ISprite* player = self->engine->GetPlayerSprite();
    const ScreenPosition screen = self->CurrentScreen();
    std::printf("died on screen (%d, %d) at %.2f s, ball at %s\n", screen.x, screen.y, self->engine->GetTime(),
                player ? Where(player->GetData()).c_str() : "?");
    ::OnDeath(userData);
    PostQuitMessage(0);
}

void Playthrough::OnRemove(ISprite* sprite) {
    Playthrough* self = g_Playthrough;
    if (sprite == self->engine->GetPlayerSprite() || !sprite->GetData().broken) {
        return;
    }
    const ScreenPosition screen = self->CurrentScreen();
    std::printf("broke %s at %s on screen (%d, %d) at %.2f s\n", ToUtf8(sprite->GetData().texture).c_str(),
                Where(sprite->GetData()).c_str(), screen.x, screen.y, self->engine->GetTime());
}
