// The game's simulation clock: measured time is gathered and spent in whole steps of 1/60 s,
// the rate the levels are tuned for, so that a run plays the same at any frame rate. A frame
// runs at most four steps; time beyond that is dropped, so an overloaded machine plays in slow
// motion instead of falling further behind with every frame.
#pragma once

class FixedSteps {
public:
    static constexpr double kStepSeconds = 1.0 / 60.0;
    static constexpr int kMaxStepsPerFrame = 4;

    // Adds the seconds measured since the previous frame and takes out the steps now due.
    int TakeStepsDue(double elapsedSeconds);
    // How long until the next step is due.
    double SecondsUntilNextStep() const;

private:
    double gathered = 0.0;
};
