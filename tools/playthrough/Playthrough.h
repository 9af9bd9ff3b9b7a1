// Replays a solution script on a level with the real engine at a fixed frame time, and logs
// what a designer needs to see: screen changes, deaths and broken pieces. One playthrough at
// a time (the engine's hooks are plain functions).
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "tools/playthrough/SolutionScript.h"

class IEngine;
class k_Ball;

struct ScreenPosition {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPosition& other) const { return x == other.x && y == other.y; }
};

class Playthrough {
public:
    // Opens a window and loads the level: levelPath, or the game's own "universe.xml" from
    // its data when levelPath is empty. Failures raise k_Failure. In real time the window has
    // the game's size and every frame waits for its moment on the clock, so the journey can
    // be watched (the physics still steps by the fixed frame time).
    Playthrough(const std::string& levelPath, bool realTime);
    ~Playthrough();
    Playthrough(const Playthrough&) = delete;
    Playthrough& operator=(const Playthrough&) = delete;

    // Plays the steps at framesPerSecond; stops early at a death. True when the ball is alive
    // at the end.
    bool Play(const std::vector<ScriptStep>& steps, int framesPerSecond);
    // Also print the ball's position every `interval` seconds of play (0: never).
    void SetTraceInterval(float interval) { traceInterval = interval; }
    ScreenPosition CurrentScreen() const;

private:
    void PlayFrame(float dt);
    void WaitForFrame();
    void SetKeys(const std::vector<int>& keys);
    void LogScreenChange();
    void LogTrace(float dt);
    static void OnDeath(void*);
    static void OnRemove(class ISprite* sprite);

    IEngine* engine;
    std::unique_ptr<k_Ball> ball;
    ScreenPosition screen;
    long frame = 0;
    float seconds = 0.0f;
    bool died = false;
    float traceInterval = 0.0f;
    float sinceTrace = 0.0f;
    bool realTime;
    std::chrono::steady_clock::time_point started;
};
