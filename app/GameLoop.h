// The game's main loop: one window message per iteration, Escape or the quit message ends it,
// and while the window is active the measured time is spent in fixed steps. Every step reads
// its keys (from the player or a replay), steers the ball or restarts after a death, and
// advances the engine; only the last step of a displayed frame draws, and the frame is shown.
// With no step due the loop waits for a message or the next step instead of spinning; when
// steps are slow, a frame runs only as many as fit in a fifteenth of a second. With a menu, its
// key opens it; while it is open no step runs and the still scene is shown beneath it, and a
// replay chosen from it plays through the same steps.
#pragma once

#include "app/FixedSteps.h"
#include "app/FrameClock.h"
#include "app/StepInput.h"

class IEngine;
class MenuSession;

class GameLoop {
public:
    using WaitFunction = bool (*)(int milliseconds);

    GameLoop(IEngine& engine, StepInput& input, Counter counter = Counter{}, WaitFunction wait = nullptr,
             MenuSession* menu = nullptr);

    // Runs until Escape, the quit message, Quit in the menu, or the end of a replay.
    void Run();
    long StepsRun() const { return stepsRun; }

private:
    bool PumpOneMessage();
    bool RunsOn();
    // The keys' source now: the replay watched from the menu, or else the loop's own.
    StepInput& CurrentInput();
    void RunFrame();
    void ShowPausedFrame();
    void RunStep(bool draw);
    void WaitForNextStep();

    IEngine& engine;
    StepInput& input;
    FrameClock clock;
    FixedSteps steps;
    WaitFunction wait;
    MenuSession* menu;
    std::uint64_t frequency = 1;
    long stepsRun = 0;
};
