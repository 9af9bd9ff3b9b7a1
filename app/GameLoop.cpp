#include "app/GameLoop.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "IEngine.h"
#include "IWindow.h"
#include "app/Game.h"
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

GameLoop::GameLoop(IEngine& engine, StepInput& input, Counter counter, WaitFunction wait)
    : engine(engine), input(input), clock(counter), wait(wait ? wait : WaitMessage) {}

void GameLoop::Run() {
    bool paused = false;
    while (PumpOneMessage() && !engine.GetWindow()->IsKeyDown(VK_ESCAPE) && !input.Finished()) {
        if (engine.GetWindow()->IsActive()) {
            if (paused) {
                clock.Resume();
                paused = false;
            }
            RunFrame();
        } else {
            // Minimised: sleep until something happens instead of spinning a core.
            paused = true;
            wait(kPausedWaitMilliseconds);
        }
        SwitchToThread();
    }
}

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
    if (input.IsReplay() && IsKeyMessage(message.message) && IsStepKey(static_cast<int>(message.wParam))) {
        return true;
    }
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
        input.NotePressed(static_cast<int>(message.wParam));
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
    const int count = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(due), input.StepsLeft()));
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
    engine.GetWindow()->SwapBuffers();
}

void GameLoop::RunStep(bool draw) {
    PlayStepKeys(input.Next(*engine.GetWindow()), clock.Last(), frequency);
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
