#include "app/Game.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>

#include "Failure.h"
#include "IEngine.h"
#include "IFileSystem.h"
#include "IGraphics.h"
#include "ISprite.h"
#include "IUniverse.h"
#include "IWindow.h"
#include "IScreen.h"
#include "IWorld.h"
#include "WideText.h"
#include "app/CommandLine.h"
#include "app/GameLoop.h"
#include "app/GameSettings.h"
#include "app/Journey.h"
#include "app/Replay.h"
#include "base/Digest.h"
#include "base/UserFolders.h"
#include "filesystem/CannotRead.h"
#include "game/k_Ball.h"
#include "platform/Clock.h"
#include "world/LevelLoading.h"
#include "world/ScreenGeometry.h"
#include "world/ScreenSlot.h"

k_Ball* g_Ball = nullptr;
std::unique_ptr<ISprite> g_DeathSprite;
ITexture* g_DeathTexture = nullptr;
ITexture* g_DeathTexture2 = nullptr;

namespace {

constexpr unsigned int kSplashMilliseconds = 5000;
constexpr int kFullScreenPictureDepth = 255;
// -1 draws every layer at full opacity: the game has no edited layer.
constexpr int kNoHighlightedLayer = -1;
const wchar_t* const kLevelFile = L"universe.xml";
const wchar_t* const kMusic = L"sounds/glimmerdrift.xm";
const wchar_t* const kLaugh = L"sounds/laugh.ogg";
const wchar_t* const kDeathPicture = L"die.png";
const wchar_t* const kDeathPicture2 = L"die2.png";

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

}  // namespace

void ShowSplash(IEngine* engine, unsigned int milliseconds) {
    std::unique_ptr<ISprite> splash = MakeFullScreenPicture(engine, engine->GetTexture(L"Splash.png"));
    engine->SetHighlightLayer(kNoHighlightedLayer);
    engine->Update(0.0f);
    engine->GetWindow()->SwapBuffers();
    Sleep(milliseconds);
    engine->RemoveSprite(splash.get());
}

std::string LoadDataLevel(IEngine* engine) {
    std::unique_ptr<IFile> level = engine->GetFileSystem()->Open(kLevelFile);
    if (!level) {
        throw k_Failure(CannotReadMessage(engine->GetFileSystem(), kLevelFile));
    }
    Digest digest;
    digest.Add(level->GetData(), level->GetSize());
    // Failures then name the level file rather than an anonymous source.
    LoadNamedLevel(*engine->GetUniverse(), level.get(), kLevelFile);
    return digest.Hex();
}

void StartPlaying(IEngine* engine) {
    g_Ball = new k_Ball();
    engine->SetHighlightLayer(kNoHighlightedLayer);
    engine->PlayMusic(kMusic);
}

namespace {

// A replay plays only on the level it was recorded on, from the world it was recorded in.
void EnterRecordedWorld(IEngine* engine, const Replay& replay, const std::string& levelDigest,
                        const std::wstring& file) {
    if (replay.levelDigest != levelDigest) {
        throw k_Failure(L"Cannot play the replay " + file + L": it was recorded on another level (digest " +
                        FromUtf8(replay.levelDigest) + L"; this level's is " + FromUtf8(levelDigest) + L")");
    }
    IUniverse* universe = engine->GetUniverse();
    for (const auto& world : universe->GetWorlds()) {
        if (ToUtf8(world->GetName()) == replay.world) {
            if (world.get() != universe->GetCurrentWorld()) {
                universe->SetCurrentWorld(world.get());
            }
            return;
        }
    }
    throw k_Failure(L"Cannot play the replay " + file + L": the level has no world \"" + FromUtf8(replay.world) + L"\"");
}

// The run just played becomes the last replay; a failure to keep it is reported, never fatal.
void KeepLastReplay(Replay replay, const StepInput& input) {
    replay.steps = input.Recorded();
    const std::filesystem::path path = LastReplayPath();
    try {
        WriteReplayFile(path, replay);
    } catch (const k_Failure& failure) {
        std::cerr << failure.what() << std::endl;
    }
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

// Makes the first screen of the current world at column + row 0 current again (leaving and
// entering it rebuilds its pieces); without one the player goes on where they died.
void ReturnToStartScreen(IUniverse* universe) {
    IWorld* world = universe->GetCurrentWorld();
    if (!world) {
        return;
    }
    for (const auto& screen : world->GetScreens()) {
        if (IsRestartSlot(screen->GetX(), screen->GetY())) {
            world->SetCurrentScreen(screen.get());
            return;
        }
    }
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
    ReleaseBall();
    ReturnToStartScreen(g_Engine->GetUniverse());
    g_Ball = new k_Ball();
    g_Engine->PlayMusic(kMusic);
    if (g_DeathSprite) {
        g_Engine->RemoveSprite(g_DeathSprite.get());
        g_DeathSprite.reset();
    }
}

void PlayStepKeys(StepKeys keys, std::uint64_t counter, std::uint64_t frequency) {
    if (g_Ball) {
        g_Ball->SetState(BallStateFromKeys(keys));
    } else if (keys & kStepEnter) {
        Restart();
    } else {
        BlinkDeathPicture(counter, frequency);
    }
}

void ReleaseRetiredBallSprite(IEngine& engine) {
    if (g_RetiredBallSprite && engine.GetScene().count(g_RetiredBallSprite.get()) == 0) {
        g_RetiredBallSprite.reset();
    }
}

std::string GameVersion() { return ROLLANDIA_VERSION; }

std::string CurrentWorldName(IEngine& engine) {
    IWorld* world = engine.GetUniverse()->GetCurrentWorld();
    return world ? ToUtf8(world->GetName()) : std::string();
}

std::string RunSummary(IEngine& engine, long steps) {
    IWorld* world = engine.GetUniverse()->GetCurrentWorld();
    IScreen* screen = world ? world->GetCurrentScreen() : nullptr;
    const bool alive = g_Ball && !engine.IsDeathRequested();
    char line[160];
    std::snprintf(line, sizeof line, ", screen (%d, %d), %s, %ld steps, state %016llx", screen ? screen->GetX() : 0,
                  screen ? screen->GetY() : 0, alive ? "alive" : "dead", steps,
                  static_cast<unsigned long long>(engine.GetStateDigest()));
    return "replay: world " + CurrentWorldName(engine) + line;
}

void BlinkDeathPicture(std::uint64_t last, std::uint64_t frequency) {
    if (!g_DeathSprite) {
        return;
    }
    float seconds = static_cast<float>(static_cast<long double>(last) / frequency);
    float phase = static_cast<float>(std::fmod(static_cast<double>(seconds), kBlinkPeriodSeconds));
    g_DeathSprite->SetTexture(phase > kBlinkHalfPeriodSeconds ? g_DeathTexture2 : g_DeathTexture);
}

Settings BuildSettings() {
    return Settings{
        {L"Title", L"Morvane - Rollandia"},
        {L"Width", std::to_wstring(kScreenWidth)},
        {L"Height", std::to_wstring(kScreenHeight)},
        {L"Fullscreen", L"1"},
        {L"Zip", L"0"},
    };
}

void RunGame(Settings& settings, const CommandLine& commandLine, const GameSettings& player) {
    // A replay file is read first, so that a bad one is refused before the window opens.
    std::optional<Replay> replay;
    if (!commandLine.replayFile.empty()) {
        replay = ReadReplayFile(commandLine.replayFile);
    }
    g_Engine = CreateEngine(settings);
    g_Engine->Init();
    g_Engine->GetGraphics()->SetSceneScaling(player.scaling);
    g_Engine->SetVolumes(player.musicVolume, player.effectsVolume);
    g_Engine->SetDeathCallback(OnDeath);
    // A replay starts at once: whoever watches it has seen the splash.
    ShowSplash(g_Engine, replay ? 0 : kSplashMilliseconds);
    const std::string levelDigest = LoadDataLevel(g_Engine);
    if (replay) {
        EnterRecordedWorld(g_Engine, *replay, levelDigest, FromUtf8(commandLine.replayFile));
    }
    Replay run{GameVersion(), levelDigest, CurrentWorldName(*g_Engine), {}};
    StartPlaying(g_Engine);
    StepInput input = replay ? StepInput(replay->steps) : StepInput();
    GameLoop loop(*g_Engine, input);
    loop.Run();
    // Through the C++ stream, so that the run's log keeps the line too.
    std::cout << RunSummary(*g_Engine, loop.StepsRun()) << std::endl;
    if (!replay) {
        KeepLastReplay(std::move(run), input);
    }
}

void ReleaseGame() {
    ReleaseBall();
    delete g_Engine;
    g_Engine = nullptr;
    // The engine no longer refers to them: the sprites the game owns can go now.
    g_RetiredBallSprite.reset();
    g_DeathSprite.reset();
}
