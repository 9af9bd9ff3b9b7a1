#include "app/GameLoop.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "IEngine.h"
#include "IGraphics.h"
#include "IWindow.h"
#include "app/Game.h"
#include "app/MenuSession.h"
#include "platform/MessagePump.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowMessages.h"

namespace {

constexpr int kPausedWaitMilliseconds = 100;
// The longest a frame spends on its steps when they are slow, so that the picture still
// changes several times a second; the steps it has no time for are dropped.
constexpr std::chrono::duration<double> kSteppingBudget{1.0 / 15.0};

bool IsKeyMessage(unsigned int message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

}  // namespace

GameLoop::GameLoop(IEngine& engine, StepInput& input, Counter counter, WaitFunction wait, MenuSession* menu)
    : engine(engine), input(input), clock(counter), wait(wait ? wait : WaitMessage), menu(menu) {}

void GameLoop::Run() {
    bool paused = false;
    while (PumpOneMessage() && RunsOn()) {
        const bool menuOpen = menu && menu->IsOpen();
        if (engine.GetWindow()->IsActive() && !menuOpen) {
            if (paused) {
                clock.Resume();
                paused = false;
            }
            RunFrame();
        } else {
            // Minimised or in the menu: sleep until something happens instead of spinning a core.
            paused = true;
            if (menuOpen) {
                ShowPausedFrame();
            }
            wait(kPausedWaitMilliseconds);
        }
        SwitchToThread();
    }
}

// A replay watched from the menu goes back to the menu at its end instead of ending the game.
bool GameLoop::RunsOn() {
    if (engine.GetWindow()->IsKeyDown(VK_ESCAPE) || (menu && menu->QuitChosen())) {
        return false;
    }
    if (menu && menu->Watching() && menu->Watching()->Finished()) {
        menu->StopWatching(input);
    }
    return !input.Finished();
}

StepInput& GameLoop::CurrentInput() { return menu && menu->Watching() ? *menu->Watching() : input; }

// Handles at most one message; false when the loop must end. While a replay plays, the keys
// that steer do not reach the window: the recording holds them.
bool GameLoop::PumpOneMessage() {
    Message message;
    if (!PeekMessage(message)) {
        return true;
    }
    if (message.message == WM_QUIT) {
        return false;
    }
    const int key = static_cast<int>(message.wParam);
    const bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    if (keyDown && menu && menu->IsMenuKey(key)) {
        // The window's key table tells a held key's repeats from a new press, which alone counts.
        if (!engine.GetWindow()->IsKeyDown(key)) {
            menu->OnKeyDown(key, input);
        }
        DispatchMessage(message);
        return true;
    }
    if (keyDown && menu && menu->OnKeyDown(key, input)) {
        return true;
    }
    if (CurrentInput().IsReplay() && IsKeyMessage(message.message) && IsStepKey(key)) {
        return true;
    }
    if (keyDown) {
        CurrentInput().NotePressed(key);
    }
    DispatchMessage(message);
    return true;
}

void GameLoop::RunFrame() {
    const int due = steps.TakeStepsDue(clock.NextFrame(frequency));
    if (due == 0) {
        WaitForNextStep();
        return;
    }
    const int count = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(due), CurrentInput().StepsLeft()));
    const auto started = std::chrono::steady_clock::now();
    auto lastStep = std::chrono::steady_clock::duration::zero();
    for (int step = 0; step < count; ++step) {
        const auto stepStarted = std::chrono::steady_clock::now();
        // A step that would end past the budget is the frame's last, and the one that draws.
        const bool last = step == count - 1 || stepStarted - started + lastStep > kSteppingBudget;
        RunStep(last);
        if (last) {
            break;
        }
        lastStep = std::chrono::steady_clock::now() - stepStarted;
    }
    if (menu) {
        menu->DrawOverlay();
    }
    engine.GetWindow()->SwapBuffers();
}

// The scene as the last step left it, drawn without a step, under the menu.
void GameLoop::ShowPausedFrame() {
    IGraphics& graphics = *engine.GetGraphics();
    graphics.Clear();
    graphics.AccumulateScene(1.0f);
    graphics.ShowAccumulated();
    menu->DrawOverlay();
    engine.GetWindow()->SwapBuffers();
}

void GameLoop::RunStep(bool draw) {
    PlayStepKeys(CurrentInput().Next(*engine.GetWindow()), clock.Last(), frequency);
    const float dt = static_cast<float>(FixedSteps::kStepSeconds);
    if (draw) {
        engine.Update(dt);
    } else {
        engine.Simulate(dt);
    }
    ReleaseRetiredBallSprite(engine);
    ++stepsRun;
}

void GameLoop::WaitForNextStep() {
    wait(static_cast<int>(std::ceil(steps.SecondsUntilNextStep() * 1000.0)));
}
