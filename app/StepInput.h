// Where the keys of each fixed step come from: the player at the window, or a recording played
// back through the window's key messages. Either way every step's keys are recorded, so a run
// can be saved as a replay and a replay can be checked against its own recording.
#pragma once

#include <cstddef>
#include <vector>

#include "app/StepKeys.h"

class IWindow;

class StepInput {
public:
    // The player's keys, as the window's key table holds them at each step.
    StepInput() = default;
    // A recording's keys, pressed into the window step after step.
    explicit StepInput(std::vector<StepKeys> playback) : playback(std::move(playback)), replaying(true) {}

    bool IsReplay() const { return replaying; }
    // A replay has run out of steps.
    bool Finished() const { return StepsLeft() == 0; }
    // The steps a replay has left; for the player's keys, as many as may be.
    std::size_t StepsLeft() const;
    // The keys of the next step; a replay first presses its recorded keys into the window.
    StepKeys Next(IWindow& window);
    // A key pressed by the player: Enter counts for the next step even when it is let go before
    // that step runs, so a quick tap always restarts. (The other keys steer through the
    // window's key table, which a replay must hold exactly as the run did.)
    void NotePressed(int virtualKey);
    // The menu's Restart: the next step restarts (a replay's restarts are in its recording).
    void RequestRestart();
    const std::vector<StepKeys>& Recorded() const { return recorded; }

private:
    std::vector<StepKeys> playback;
    std::vector<StepKeys> recorded;
    StepKeys tapped = 0;
    bool replaying = false;
};
