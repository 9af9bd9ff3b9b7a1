// Plays a solution on a level through the game's own loop and rules, and logs what a designer
// needs to see: screen changes, deaths and broken pieces. The keys of every step go through the
// window's key messages exactly as a replay's do, and the run can be saved as a replay. By
// default the clock is simulated (a display at the chosen rate, never waiting), so a journey
// plays in seconds; in real time it plays at the clock's pace in a window of the game's size.
// One playthrough at a time (the engine's hooks are plain functions).
#pragma once

#include <string>
#include <vector>

#include "app/Replay.h"

class IEngine;

struct ScreenPosition {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPosition& other) const { return x == other.x && y == other.y; }
};

class Playthrough {
public:
    // Opens a window and loads the level: levelPath, or the game's own "universe.xml" from
    // its data when levelPath is empty; play starts in the named world, or in the level's active
    // world when worldName is empty. Failures raise k_Failure.
    Playthrough(const std::string& levelPath, bool realTime, const std::string& worldName = {});
    ~Playthrough();
    Playthrough(const Playthrough&) = delete;
    Playthrough& operator=(const Playthrough&) = delete;

    // Plays the steps with frames shown at framesPerSecond (simulated unless in real time);
    // stops early at a death. True when the ball is alive at the end.
    bool Play(const std::vector<StepKeys>& steps, int framesPerSecond);
    // Also print the ball's position every `interval` seconds of play (0: never).
    void SetTraceInterval(float interval) { traceInterval = interval; }
    ScreenPosition CurrentScreen() const;
    // The run as a replay of the game: the level's digest, the world and every step played.
    const Replay& Recording() const { return recording; }
    // The game's summary line of the run.
    std::string Summary() const;

private:
    static void OnDeath(void*);
    static void OnRemove(class ISprite* sprite);
    static void OnFrame(void*);
    static void OnScreenEntered(class IScreen* screen);

    IEngine* engine;
    Replay recording;
    long stepsRun = 0;
    bool realTime;
    float traceInterval = 0.0f;
    float lastTrace = 0.0f;
};
