#include "app/StepInput.h"

#include <limits>

StepKeys StepInput::Next(IWindow& window) {
    // A restart has no key: a replay hands it on as recorded.
    StepKeys restart = 0;
    if (replaying) {
        PressStepKeys(window, playback[recorded.size()]);
        restart = playback[recorded.size()] & kStepRestart;
    }
    const StepKeys keys = ReadStepKeys(window) | restart | tapped;
    tapped = 0;
    recorded.push_back(keys);
    return keys;
}

std::size_t StepInput::StepsLeft() const {
    if (!replaying) {
        return std::numeric_limits<std::size_t>::max();
    }
    return playback.size() - recorded.size();
}

void StepInput::NotePressed(int virtualKey) {
    if (!replaying && (StepKeysOfKey(virtualKey) & kStepEnter)) {
        tapped |= kStepEnter;
    }
}

void StepInput::RequestRestart() {
    if (!replaying) {
        tapped |= kStepRestart;
    }
}
