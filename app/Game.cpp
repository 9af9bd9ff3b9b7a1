#include "app/Game.h"

#include <memory>

#include "Failure.h"
#include "IEngine.h"
#include "IFileSystem.h"
#include "ISprite.h"
#include "IUniverse.h"
#include "IWindow.h"
#include "platform/Clock.h"
#include "platform/MessagePump.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowMessages.h"
#include "world/k_Universe.h"

namespace {

constexpr unsigned int kSplashMilliseconds = 5000;
constexpr int kFullScreenPictureDepth = 255;
// -1 draws every layer at full opacity: the game has no edited layer.
constexpr int kNoHighlightedLayer = -1;
const wchar_t* const kLevelFile = L"universe.xml";

void ShowSplash(IEngine* engine) {
    std::unique_ptr<ISprite> splash = engine->CreateSprite(r_SpriteType::Background);
    splash->SetTexture(engine->GetTexture(L"Splash.png"));
    splash->GetData().depth = kFullScreenPictureDepth;
    engine->AddSprite(splash.get(), false, nullptr);
    engine->SetHighlightLayer(kNoHighlightedLayer);
    engine->Update(0.0f);
    engine->GetWindow()->SwapBuffers();
    Sleep(kSplashMilliseconds);
    engine->RemoveSprite(splash.get());
}

void LoadLevel(IEngine* engine) {
    std::unique_ptr<IFile> level = engine->GetFileSystem()->Open(kLevelFile);
    if (!level) {
        throw k_Failure(std::wstring(L"Cannot read from file: ") + kLevelFile);
    }
    // Failures then name the level file rather than an anonymous source.
    if (auto* universe = dynamic_cast<k_Universe*>(engine->GetUniverse())) {
        universe->LoadNamed(level.get(), kLevelFile);
    } else {
        engine->GetUniverse()->Load(level.get());
    }
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

void RunMainLoop(IEngine* engine) {
    IWindow* window = engine->GetWindow();
    std::uint64_t last = QueryPerformanceCounter();
    while (PumpOneMessage() && !window->IsKeyDown(VK_ESCAPE)) {
        if (window->IsActive()) {
            std::uint64_t frequency = QueryPerformanceFrequency();
            std::uint64_t now = QueryPerformanceCounter();
            float dt = static_cast<float>(static_cast<long double>(now - last) / frequency);
            last = QueryPerformanceCounter();
            engine->Update(dt);
            engine->GetWindow()->SwapBuffers();
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
    ShowSplash(g_Engine);
    LoadLevel(g_Engine);
    g_Engine->SetHighlightLayer(kNoHighlightedLayer);
    RunMainLoop(g_Engine);
}
