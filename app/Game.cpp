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
#include "app/FinishText.h"
#include "app/GameLoop.h"
#include "app/GameSettings.h"
#include "app/Journey.h"
#include "app/MenuSession.h"
#include "app/Replay.h"
#include "base/Digest.h"
#include "base/UserFolders.h"
#include "filesystem/CannotRead.h"
#include "game/k_Ball.h"
#include "platform/Clock.h"
#include "world/LevelLoading.h"
#include "world/ScreenGeometry.h"

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
const wchar_t* const kFinishPicture = L"finish.png";
const wchar_t* const kClosingPicture = L"closing.png";

// The death pictures alternate every 125 ms on the counter's own clock.
constexpr double kBlinkPeriodSeconds = 0.25;
constexpr float kBlinkHalfPeriodSeconds = 0.125f;

// The sprite of a ball released by the death handler: its removal from the scene runs in the
// same frame, after which the sprite object can go.
std::unique_ptr<ISprite> g_RetiredBallSprite;

// Playing, the finish picture of a world, or the closing picture after the last world. Once a
// run is finished the ball is gone and only Enter counts.
enum class RunPhase { Playing, Finished, Closing };
RunPhase g_Phase = RunPhase::Playing;
std::unique_ptr<ISprite> g_EndPicture;
// What the finish picture tells, while it shows.
std::optional<FinishedRun> g_FinishedRun;
// The previous step's keys: Enter goes on from an end picture only when newly pressed.
StepKeys g_PreviousKeys = 0;

std::unique_ptr<ISprite> MakeFullScreenPicture(IEngine* engine, ITexture* texture) {
    std::unique_ptr<ISprite> picture = engine->CreateSprite(r_SpriteType::Background);
    picture->SetTexture(texture);
    picture->GetData().depth = kFullScreenPictureDepth;
    engine->AddSprite(picture.get(), false, nullptr);
    return picture;
}

// The world's own music, else the game's usual module; a world's module that the data lacks
// is named on standard error and the usual one plays.
std::wstring WorldMusic(IEngine& engine) {
    IWorld* world = engine.GetUniverse()->GetCurrentWorld();
    const std::wstring music = world ? world->GetMusic() : std::wstring();
    if (music.empty()) {
        return kMusic;
    }
    if (!engine.GetFileSystem()->Open(music)) {
        std::cerr << "The music " << ToUtf8(music) << " of world " << ToUtf8(world->GetName())
                  << " is not in the data; the usual music plays" << std::endl;
        return kMusic;
    }
    return music;
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
    BeginRun(*engine);
    g_Ball = new k_Ball();
    engine->SetHighlightLayer(kNoHighlightedLayer);
    engine->PlayMusic(WorldMusic(*engine));
}

namespace {

// A replay plays only on the level it was recorded on, from the world it was recorded in.
void EnterRecordedWorld(IEngine* engine, const Replay& replay, const std::string& levelDigest,
                        const std::wstring& file) {
    if (replay.levelDigest != levelDigest) {
        throw k_Failure(L"Cannot play the replay " + file + L": it was recorded on another level (digest " +
                        FromUtf8(replay.levelDigest) + L"; this level's is " + FromUtf8(levelDigest) + L")");
    }
    IWorld* world = FindWorld(*engine, replay.world);
    if (!world) {
        throw k_Failure(L"Cannot play the replay " + file + L": the level has no world \"" + FromUtf8(replay.world) +
                        L"\"");
    }
    EnterWorld(*engine, *world);
}

// The run just played becomes the last replay; a failure to keep it is reported, never fatal.
void KeepLastReplay(const Replay& replay) {
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

// Makes the run's restart screen current again (leaving and entering it rebuilds its pieces)
// and returns where the ball goes there; without a restart screen the player goes on where
// they died, with the ball at its usual start.
std::optional<std::pair<float, float>> ReturnToRestartScreen(IUniverse* universe) {
    IWorld* world = universe->GetCurrentWorld();
    if (!world) {
        return std::nullopt;
    }
    const RestartPlace place = FindRestartPlace(*world);
    if (place.screen) {
        world->SetCurrentScreen(place.screen);
        NoteRestartedOn(place.screen);
    }
    return place.ballLeftTop;
}

void LeaveEndPicture() {
    if (g_EndPicture) {
        g_Engine->RemoveSprite(g_EndPicture.get());
        g_EndPicture.reset();
    }
    g_Phase = RunPhase::Playing;
    g_FinishedRun.reset();
}

void ShowEndPicture(RunPhase phase, const wchar_t* picture) {
    LeaveEndPicture();
    g_EndPicture = MakeFullScreenPicture(g_Engine, g_Engine->GetTexture(picture));
    g_Phase = phase;
}

// The goal is reached: the run stops with its ball, and the finish picture shows how it went.
void FinishWorld() {
    const FinishedRun run = FinishRun();
    ReleaseBall();
    ShowEndPicture(RunPhase::Finished, kFinishPicture);
    g_FinishedRun = run;
}

// Enter on an end picture: on to the next world in file order, after the last the closing
// picture, and from there back to the first world.
void GoOnFromEndPicture() {
    IUniverse* universe = g_Engine->GetUniverse();
    IWorld* next = nullptr;
    if (g_Phase == RunPhase::Finished) {
        next = NextWorld(*g_Engine);
        if (!next) {
            ShowEndPicture(RunPhase::Closing, kClosingPicture);
            return;
        }
    } else if (!universe->GetWorlds().empty()) {
        next = universe->GetWorlds().front().get();
    }
    if (next) {
        StartWorldAt(*g_Engine, *next);
    }
}

}  // namespace

void DrawGameOverlay(void*) {
    if (g_FinishedRun) {
        DrawFinishText(*g_FinishedRun);
    }
}

void OnDeath(void*) {
    // A touch in the step that reached the goal comes too late: the run is over.
    if (g_Phase != RunPhase::Playing) {
        return;
    }
    CountDeath();
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
    if (g_Phase != RunPhase::Playing) {
        LeaveEndPicture();
        BeginRun(*g_Engine);
    }
    const std::optional<std::pair<float, float>> place = ReturnToRestartScreen(g_Engine->GetUniverse());
    g_Ball = place ? new k_Ball(place->first, place->second) : new k_Ball();
    g_Engine->PlayMusic(WorldMusic(*g_Engine));
    if (g_DeathSprite) {
        g_Engine->RemoveSprite(g_DeathSprite.get());
        g_DeathSprite.reset();
    }
}

void PlayStepKeys(StepKeys keys, std::uint64_t counter, std::uint64_t frequency) {
    const bool enterPressed = (keys & kStepEnter) && !(g_PreviousKeys & kStepEnter);
    g_PreviousKeys = keys;
    if (keys & kStepRestart) {
        Restart();
    } else if (g_Phase == RunPhase::Playing && NoteScreenEntered(*g_Engine)) {
        // The finish picture stays at least until the next press of Enter.
        FinishWorld();
    } else if (g_Phase != RunPhase::Playing) {
        if (enterPressed) {
            GoOnFromEndPicture();
        }
    } else if (g_Ball) {
        g_Ball->SetState(BallStateFromKeys(keys));
    } else if (keys & kStepEnter) {
        Restart();
    } else {
        BlinkDeathPicture(counter, frequency);
    }
    RecordStep(keys, g_Phase != RunPhase::Playing);
}

bool IsBallInPlay(IEngine& engine) {
    return (g_Ball || g_Phase != RunPhase::Playing) && !engine.IsDeathRequested();
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
    const bool alive = IsBallInPlay(engine);
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
    g_Engine->SetFrameCallback(DrawGameOverlay, nullptr);
    // A replay starts at once: whoever watches it has seen the splash.
    ShowSplash(g_Engine, replay ? 0 : kSplashMilliseconds);
    const std::string levelDigest = LoadDataLevel(g_Engine);
    if (replay) {
        EnterRecordedWorld(g_Engine, *replay, levelDigest, FromUtf8(commandLine.replayFile));
    }
    BeginJourney(levelDigest, !replay);
    if (!replay) {
        EnterFurthestWorldReached(*g_Engine);
    }
    StartPlaying(g_Engine);
    StepInput input = replay ? StepInput(replay->steps) : StepInput();
    MenuSession menu(*g_Engine, player, GameSettingsPath(), levelDigest);
    GameLoop loop(*g_Engine, input, Counter{}, nullptr, &menu);
    loop.Run();
    // Through the C++ stream, so that the run's log keeps the line too. The steps are the
    // current run's (a finish or the menu may have started others), so that the line matches
    // that run's replay.
    const Replay run = CurrentRunReplay();
    std::cout << RunSummary(*g_Engine, static_cast<long>(run.steps.size())) << std::endl;
    if (!replay) {
        KeepLastReplay(run);
    }
}

void ReleaseGame() {
    ReleaseBall();
    delete g_Engine;
    g_Engine = nullptr;
    // The engine no longer refers to them: the sprites the game owns can go now.
    g_RetiredBallSprite.reset();
    g_DeathSprite.reset();
    g_EndPicture.reset();
    g_FinishedRun.reset();
    g_Phase = RunPhase::Playing;
    g_PreviousKeys = 0;
}
