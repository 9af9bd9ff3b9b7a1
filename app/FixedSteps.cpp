#include "app/FixedSteps.h"

#include <algorithm>
#include <cmath>

int FixedSteps::TakeStepsDue(double elapsedSeconds) {
    gathered += std::max(0.0, elapsedSeconds);
    const double due = std::floor(gathered / kStepSeconds);
    if (due > kMaxStepsPerFrame) {
        // Keep only the part of a step already gathered; the rest of the backlog is dropped.
        gathered = std::fmod(gathered, kStepSeconds);
        return kMaxStepsPerFrame;
    }
    gathered -= due * kStepSeconds;
    return static_cast<int>(due);
}

double FixedSteps::SecondsUntilNextStep() const { return std::max(0.0, kStepSeconds - gathered); }
