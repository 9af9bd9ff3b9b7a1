#include "app/StepInput.h"

#include <limits>

StepKeys StepInput::Next(IWindow& window) {
    if (replaying) {
        PressStepKeys(window, playback[recorded.size()]);
    }
    const StepKeys keys = ReadStepKeys(window);
    recorded.push_back(keys);
    return keys;
}

std::size_t StepInput::StepsLeft() const {
    if (!replaying) {
        return std::numeric_limits<std::size_t>::max();
    }
    return playback.size() - recorded.size();
}
