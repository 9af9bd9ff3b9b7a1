#include "app/StepInput.h"

#include <limits>

#include "platform/VirtualKeys.h"

StepKeys StepInput::Next(IWindow& window) {
    if (replaying) {
        PressStepKeys(window, playback[recorded.size()]);
    }
    const StepKeys keys = ReadStepKeys(window) | tapped;
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
    if (!replaying && virtualKey == VK_RETURN) {
        tapped |= kStepEnter;
    }
}
