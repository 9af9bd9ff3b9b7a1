// playthrough: replays a solution script on a level at a fixed frame rate and tells whether
// it reaches the goal screen alive; see tools/README.md. Needs a display (run it under
// xvfb-run). Exit status 0 at the goal, 1 otherwise, 2 when used wrongly.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "Failure.h"
#include "WideText.h"
#include "tools/playthrough/Playthrough.h"

namespace {

constexpr int kReachedGoal = 0;
constexpr int kMissedGoal = 1;
constexpr int kUsageError = 2;
constexpr int kDefaultFramesPerSecond = 60;

struct Options {
    std::string script;
    std::string level;
    int framesPerSecond = kDefaultFramesPerSecond;
    ScreenPosition goal;
    bool hasGoal = false;
    float traceInterval = 0.0f;
    bool realTime = false;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: playthrough [--fps N] --goal X,Y [--level FILE] [--trace SECONDS] [--realtime] SCRIPT\n"
                 "Replays SCRIPT (lines of \"<seconds> <keys>\", keys like Right+Up or -) on the game's\n"
                 "universe.xml, or on FILE, at N frames a second (default 60). --realtime plays it at the\n"
                 "clock's pace in a full-size window, to watch it or take pictures of it.\n");
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
    const std::vector<ScriptStep> steps = ReadSolutionScript(options.script);
    Playthrough playthrough(options.level, options.realTime);
    playthrough.SetTraceInterval(options.traceInterval);
    const bool alive = playthrough.Play(steps, options.framesPerSecond);
    const ScreenPosition end = playthrough.CurrentScreen();
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
