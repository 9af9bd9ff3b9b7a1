#include "tools/playthrough/Playthrough.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "Failure.h"
#include "IEngine.h"
#include "IFileSystem.h"
#include "IScreen.h"
#include "ISprite.h"
#include "IUniverse.h"
#include "IWindow.h"
#include "IWorld.h"
#include "WideText.h"
#include "game/k_Ball.h"
#include "platform/VirtualKeys.h"
#include "world/k_Universe.h"

namespace {

const wchar_t* const kLevelFile = L"universe.xml";
const int kArrowKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
// As in the game, no layer is highlighted, so none is drawn faded.
constexpr int kNoHighlightedLayer = -1;

// The engine's hooks are plain functions; they report to the one running playthrough.
Playthrough* g_Playthrough = nullptr;

// The scene keeps its 800 x 600 coordinates whatever the window's size; a small window only
// makes the drawing of every frame cheap, so a whole journey replays in seconds. In real time
// the window has the game's own size.
Settings WindowedSettings(bool realTime) {
    return Settings{{L"Title", L"Rollandia playthrough"},
                    {L"Width", realTime ? L"800" : L"200"},
                    {L"Height", realTime ? L"600" : L"150"},
                    {L"Fullscreen", L"0"},
                    {L"Zip", L"0"}};
}

void LoadLevel(IEngine* engine, const std::string& levelPath) {
    if (!levelPath.empty()) {
        // Loading enters the data directory: the path must not depend on the current one.
        engine->GetUniverse()->LoadFromPath(std::filesystem::absolute(levelPath).wstring());
        return;
    }
    std::unique_ptr<IFile> level = engine->GetFileSystem()->Open(kLevelFile);
    if (!level) {
        throw k_Failure(L"Cannot read the level " + std::wstring(kLevelFile) + L" from the game's data");
    }
    static_cast<k_Universe*>(engine->GetUniverse())->LoadNamed(level.get(), kLevelFile);
}

std::string Where(const SpriteData& data) {
    char text[64];
    std::snprintf(text, sizeof text, "(%.0f, %.0f)", data.left, data.top);
    return text;
}

}  // namespace

Playthrough::Playthrough(const std::string& levelPath, bool realTime)
    : realTime(realTime) {
    // A playthrough is silent: sounds go to the audio library's dummy device unless the
    // caller chose another.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    Settings settings = WindowedSettings(realTime);
    engine = g_Engine = CreateEngine(settings);
    engine->Init();
    engine->SetHighlightLayer(kNoHighlightedLayer);
    g_Playthrough = this;
    engine->SetDeathCallback(&Playthrough::OnDeath);
    engine->SetRemoveCallback(&Playthrough::OnRemove);
    LoadLevel(engine, levelPath);
    ball = std::make_unique<k_Ball>();
    screen = CurrentScreen();
}

Playthrough::~Playthrough() {
    ball.reset();
    delete engine;
    g_Engine = nullptr;
    g_Playthrough = nullptr;
}

ScreenPosition Playthrough::CurrentScreen() const {
    IWorld* world = engine->GetUniverse()->GetCurrentWorld();
    IScreen* current = world ? world->GetCurrentScreen() : nullptr;
    return current ? ScreenPosition{current->GetX(), current->GetY()} : ScreenPosition{};
}

bool Playthrough::Play(const std::vector<ScriptStep>& steps, int framesPerSecond) {
    const float dt = 1.0f / static_cast<float>(framesPerSecond);
    started = std::chrono::steady_clock::now();
    for (const ScriptStep& step : steps) {
        SetKeys(step.keys);
        const long frames = std::lround(step.seconds * framesPerSecond);
        for (long count = 0; count < frames && !died; ++count) {
            PlayFrame(dt);
        }
    }
    // A fatal touch in the last frame shows at the start of the next one.
    if (!died) {
        PlayFrame(dt);
    }
    return !died;
}

void Playthrough::PlayFrame(float dt) {
    ++frame;
    seconds += dt;
    engine->Update(dt);
    LogScreenChange();
    LogTrace(dt);
    WaitForFrame();
}

void Playthrough::WaitForFrame() {
    if (!realTime) {
        return;
    }
    // Show the frame as the game does, and let whoever watches learn of a screen change as it
    // happens.
    engine->GetWindow()->SwapBuffers();
    std::fflush(stdout);
    std::this_thread::sleep_until(started + std::chrono::duration<float>(seconds));
}

void Playthrough::LogTrace(float dt) {
    sinceTrace += dt;
    ISprite* player = engine->GetPlayerSprite();
    if (traceInterval <= 0.0f || sinceTrace < traceInterval || !player) {
        return;
    }
    sinceTrace = 0.0f;
    std::printf("  %.2f s: screen (%d, %d), ball at %s\n", seconds, screen.x, screen.y, Where(player->GetData()).c_str());
}

void Playthrough::SetKeys(const std::vector<int>& keys) {
    IWindow* window = engine->GetWindow();
    for (int key : kArrowKeys) {
        window->SetKeyDown(key, false);
    }
    for (int key : keys) {
        window->SetKeyDown(key, true);
    }
    if (ball) {
        // The ball's look follows Up and Down as in the game.
        ball->SetState(window->IsKeyDown(VK_UP) ? 1 : window->IsKeyDown(VK_DOWN) ? 2 : 0);
    }
}

void Playthrough::LogScreenChange() {
    ScreenPosition now = CurrentScreen();
    if (now == screen) {
        return;
    }
    screen = now;
    std::printf("entered screen (%d, %d) at %.2f s\n", screen.x, screen.y, seconds);
}

void Playthrough::OnDeath(void*) {
    Playthrough* self = g_Playthrough;
    ISprite* player = self->engine->GetPlayerSprite();
    std::printf("died on screen (%d, %d) at %.2f s, ball at %s\n", self->screen.x, self->screen.y,
                self->seconds, player ? Where(player->GetData()).c_str() : "?");
    self->died = true;
}

void Playthrough::OnRemove(ISprite* sprite) {
    Playthrough* self = g_Playthrough;
    if (sprite == self->engine->GetPlayerSprite() || !sprite->GetData().broken) {
        return;
    }
    std::printf("broke %s at %s on screen (%d, %d) at %.2f s\n", ToUtf8(sprite->GetData().texture).c_str(),
                Where(sprite->GetData()).c_str(), self->screen.x, self->screen.y, self->seconds);
}
