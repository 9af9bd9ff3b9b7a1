// playthrough: plays a solution script on a level through the game's own loop, with frames
// shown at a chosen rate, and tells whether it reaches the goal screen alive; it can save the
// run as a replay of the game. See tools/README.md. Needs a display (run it under xvfb-run).
// Exit status 0 at the goal, 1 otherwise, 2 when used wrongly.
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "Failure.h"
#include "WideText.h"
#include "app/FixedSteps.h"
#include "tools/playthrough/Playthrough.h"
#include "tools/playthrough/SolutionScript.h"

namespace {

constexpr int kReachedGoal = 0;
constexpr int kMissedGoal = 1;
constexpr int kUsageError = 2;
constexpr int kDefaultFramesPerSecond = 60;

struct Options {
    std::string script;
    std::string level;
    std::string world;
    int framesPerSecond = kDefaultFramesPerSecond;
    ScreenPosition goal;
    bool hasGoal = false;
    float traceInterval = 0.0f;
    bool realTime = false;
    std::string recordFile;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: playthrough [--fps N] --goal X,Y [--level FILE] [--world NAME] [--trace SECONDS]\n"
                 "                   [--realtime] [--record REPLAY] SCRIPT\n"
                 "Plays SCRIPT (lines of \"<seconds> <keys>\", keys like Right+Up, Enter or -) on the game's\n"
                 "universe.xml, or on FILE, in steps of 1/60 s with frames shown N times a second (default\n"
                 "60), starting in world NAME or else in the level's active one. --realtime plays it at the clock's pace in a full-size window, to watch it or take\n"
                 "pictures of it. --record saves the run as a replay for rollandia --replay.\n");
    return kUsageError;
}

bool ReadOptions(int argc, char** argv, Options& options) {
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        const char* value = index + 1 < argc ? argv[index + 1] : nullptr;
        if (argument == "--fps" && value) {
            options.framesPerSecond = std::atoi(value);
        } else if (argument == "--goal" && value) {
            options.hasGoal = std::sscanf(value, "%d,%d", &options.goal.x, &options.goal.y) == 2;
        } else if (argument == "--level" && value) {
            options.level = value;
        } else if (argument == "--world" && value) {
            options.world = value;
        } else if (argument == "--record" && value) {
            // Loading the level changes the current folder: the path is fixed first.
            options.recordFile = std::filesystem::absolute(value).string();
        } else if (argument == "--trace" && value) {
            options.traceInterval = std::strtof(value, nullptr);
        } else if (argument == "--realtime") {
            options.realTime = true;
            continue;
        } else if (argument.rfind("--", 0) != 0 && options.script.empty()) {
            options.script = argument;
            continue;
        } else {
            return false;
        }
        ++index;
    }
    return options.hasGoal && options.framesPerSecond > 0 && !options.script.empty();
}

int Run(const Options& options) {
    const std::vector<StepKeys> steps = ScriptToSteps(ReadSolutionScript(options.script), FixedSteps::kStepSeconds);
    Playthrough playthrough(options.level, options.realTime, options.world);
    playthrough.SetTraceInterval(options.traceInterval);
    const bool alive = playthrough.Play(steps, options.framesPerSecond);
    const ScreenPosition end = playthrough.CurrentScreen();
    std::printf("%s\n", playthrough.Summary().c_str());
    if (!options.recordFile.empty()) {
        WriteReplayFile(options.recordFile, playthrough.Recording());
    }
    const bool reached = alive && end == options.goal;
    std::printf("%s at %d fps: ended %s on screen (%d, %d), goal (%d, %d)\n", reached ? "PASSED" : "FAILED",
                options.framesPerSecond, alive ? "alive" : "dead", end.x, end.y, options.goal.x, options.goal.y);
    return reached ? kReachedGoal : kMissedGoal;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ReadOptions(argc, argv, options)) {
        return Usage();
    }
    try {
        return Run(options);
    } catch (const k_Failure& failure) {
        std::fprintf(stderr, "playthrough: %s\n", ToUtf8(failure.Message()).c_str());
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "playthrough: %s\n", failure.what());
    }
    return kMissedGoal;
}
