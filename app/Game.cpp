#include "app/Game.h"

#include <cmath>
#include <memory>

#include "Failure.h"
#include "IEngine.h"
#include "IFileSystem.h"
#include "ISprite.h"
#include "IUniverse.h"
#include "IWindow.h"
#include "app/FrameClock.h"
#include "filesystem/CannotRead.h"
#include "game/k_Ball.h"
#include "platform/Clock.h"
#include "platform/MessagePump.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowMessages.h"
#include "world/LevelLoading.h"

k_Ball* g_Ball = nullptr;
std::unique_ptr<ISprite> g_DeathSprite;
ITexture* g_DeathTexture = nullptr;
ITexture* g_DeathTexture2 = nullptr;

namespace {

constexpr unsigned int kSplashMilliseconds = 5000;
constexpr int kPausedWaitMilliseconds = 100;
constexpr int kFullScreenPictureDepth = 255;
// -1 draws every layer at full opacity: the game has no edited layer.
constexpr int kNoHighlightedLayer = -1;
const wchar_t* const kLevelFile = L"universe.xml";
const wchar_t* const kMusic = L"sounds/glimmerdrift.xm";
const wchar_t* const kLaugh = L"sounds/laugh.ogg";
const wchar_t* const kDeathPicture = L"die.png";
const wchar_t* const kDeathPicture2 = L"die2.png";

// Ball states fed to its shader.
constexpr int kBallNormal = 0;
constexpr int kBallUp = 1;
constexpr int kBallDown = 2;

// The death pictures alternate every 125 ms on the counter's own clock.
constexpr double kBlinkPeriodSeconds = 0.25;
constexpr float kBlinkHalfPeriodSeconds = 0.125f;

// The sprite of a ball released by the death handler: its removal from the scene runs in the
// same frame, after which the sprite object can go.
std::unique_ptr<ISprite> g_RetiredBallSprite;

std::unique_ptr<ISprite> MakeFullScreenPicture(IEngine* engine, ITexture* texture) {
    std::unique_ptr<ISprite> picture = engine->CreateSprite(r_SpriteType::Background);
    picture->SetTexture(texture);
    picture->GetData().depth = kFullScreenPictureDepth;
    engine->AddSprite(picture.get(), false, nullptr);
    return picture;
}

void ShowSplash(IEngine* engine) {
    std::unique_ptr<ISprite> splash = MakeFullScreenPicture(engine, engine->GetTexture(L"Splash.png"));
    engine->SetHighlightLayer(kNoHighlightedLayer);
    engine->Update(0.0f);
    engine->GetWindow()->SwapBuffers();
    Sleep(kSplashMilliseconds);
    engine->RemoveSprite(splash.get());
}

void LoadLevel(IEngine* engine) {
    std::unique_ptr<IFile> level = engine->GetFileSystem()->Open(kLevelFile);
    if (!level) {
        throw k_Failure(CannotReadMessage(engine->GetFileSystem(), kLevelFile));
    }
    // Failures then name the level file rather than an anonymous source.
    LoadNamedLevel(*engine->GetUniverse(), level.get(), kLevelFile);
}

// Releases the ball; its sprite object stays until its removal from the scene has run.
void ReleaseBall() {
    if (!g_Ball) {
        return;
    }
    g_RetiredBallSprite = g_Ball->HandOverSprite();
    delete g_Ball;
    g_Ball = nullptr;
}

void ReleaseRetiredBallSprite(IEngine* engine) {
    if (g_RetiredBallSprite && engine->GetScene().count(g_RetiredBallSprite.get()) == 0) {
        g_RetiredBallSprite.reset();
    }
}

// Makes the first screen of the current world at column + row 0 current again (leaving and
// entering it rebuilds its pieces); without one the player goes on where they died.
void ReturnToStartScreen(IUniverse* universe) {
    IWorld* world = universe->GetCurrentWorld();
    if (!world) {
        return;
    }
    for (const auto& screen : world->GetScreens()) {
        if (screen->GetX() + screen->GetY() == 0) {
            world->SetCurrentScreen(screen.get());
            return;
        }
    }
}

int BallStateFromKeys(IWindow* window) {
    if (window->IsKeyDown(VK_UP)) {
        return kBallUp;
    }
    return window->IsKeyDown(VK_DOWN) ? kBallDown : kBallNormal;
}

// Handles at most one message; false when the loop must end.
bool PumpOneMessage() {
    Message message;
    if (PeekMessage(message)) {
        if (message.message == WM_QUIT) {
            return false;
        }
        DispatchMessage(message);
    }
    return true;
}

}  // namespace

void OnDeath(void*) {
    g_Engine->StopMusic();
    g_Engine->PlaySound(kLaugh);
    if (g_DeathSprite) {
        g_Engine->RemoveSprite(g_DeathSprite.get());
    }
    g_DeathTexture = g_Engine->GetTexture(kDeathPicture);
    g_DeathTexture2 = g_Engine->GetTexture(kDeathPicture2);
    g_DeathSprite = MakeFullScreenPicture(g_Engine, g_DeathTexture);
    ReleaseBall();
}

void Restart() {
    ReturnToStartScreen(g_Engine->GetUniverse());
    g_Ball = new k_Ball();
    g_Engine->PlayMusic(kMusic);
    if (g_DeathSprite) {
        g_Engine->RemoveSprite(g_DeathSprite.get());
        g_DeathSprite.reset();
    }
}

void BlinkDeathPicture(std::uint64_t last, std::uint64_t frequency) {
    if (!g_DeathSprite) {
        return;
    }
    float seconds = static_cast<float>(static_cast<long double>(last) / frequency);
    float phase = static_cast<float>(std::fmod(static_cast<double>(seconds), kBlinkPeriodSeconds));
    g_DeathSprite->SetTexture(phase > kBlinkHalfPeriodSeconds ? g_DeathTexture2 : g_DeathTexture);
}

namespace {

void RunFrame(IEngine* engine, FrameClock& clock) {
    std::uint64_t frequency = 0;
    float dt = clock.NextFrame(frequency);
    IWindow* window = engine->GetWindow();
    if (g_Ball) {
        g_Ball->SetState(BallStateFromKeys(window));
    } else if (window->IsKeyDown(VK_RETURN)) {
        Restart();
    } else {
        BlinkDeathPicture(clock.Last(), frequency);
    }
    engine->Update(dt);
    ReleaseRetiredBallSprite(engine);
    engine->GetWindow()->SwapBuffers();
}

void RunMainLoop(IEngine* engine) {
    IWindow* window = engine->GetWindow();
    FrameClock clock;
    bool paused = false;
    while (PumpOneMessage() && !window->IsKeyDown(VK_ESCAPE)) {
        if (window->IsActive()) {
            if (paused) {
                clock.Resume();
                paused = false;
            }
            RunFrame(engine, clock);
        } else {
            // Minimised: sleep until something happens instead of spinning a core.
            paused = true;
            WaitMessage(kPausedWaitMilliseconds);
        }
        SwitchToThread();
    }
}

}  // namespace

Settings BuildSettings() {
    return Settings{
        {L"Title", L"Morvane - Rollandia"},
        {L"Width", L"800"},
        {L"Height", L"600"},
        {L"Fullscreen", L"1"},
        {L"Zip", L"0"},
    };
}

void RunGame(Settings& settings) {
    g_Engine = CreateEngine(settings);
    g_Engine->Init();
    g_Engine->SetDeathCallback(OnDeath);
    ShowSplash(g_Engine);
    LoadLevel(g_Engine);
    g_Ball = new k_Ball();
    g_Engine->SetHighlightLayer(kNoHighlightedLayer);
    g_Engine->PlayMusic(kMusic);
    RunMainLoop(g_Engine);
}

void ReleaseGame() {
    ReleaseBall();
    delete g_Engine;
    g_Engine = nullptr;
    // The engine no longer refers to them: the sprites the game owns can go now.
    g_RetiredBallSprite.reset();
    g_DeathSprite.reset();
}
