// The game's simulation clock: measured time becomes whole steps of 1/60 s, at most four a
// frame, and what an overloaded frame cannot run is dropped rather than owed.
#include <gtest/gtest.h>

#include "app/FixedSteps.h"

namespace {

constexpr double kStep = FixedSteps::kStepSeconds;

}  // namespace

TEST(FixedStepsTest, MeasuredTimeBecomesWholeStepsWithTheRestCarried) {
    FixedSteps steps;
    EXPECT_EQ(steps.TakeStepsDue(0.4 * kStep), 0);
    EXPECT_NEAR(steps.SecondsUntilNextStep(), 0.6 * kStep, 1e-12);
    EXPECT_EQ(steps.TakeStepsDue(0.7 * kStep), 1) << "the carried part completes a step";
    EXPECT_EQ(steps.TakeStepsDue(2.95 * kStep), 3);
    EXPECT_EQ(steps.TakeStepsDue(-5.0), 0) << "a clock that went back adds nothing";
    EXPECT_EQ(steps.TakeStepsDue(0.0), 0);
}

TEST(FixedStepsTest, AnOverloadedFrameRunsFourStepsAndDropsTheRest) {
    FixedSteps steps;
    EXPECT_EQ(steps.TakeStepsDue(10.5 * kStep), FixedSteps::kMaxStepsPerFrame);
    EXPECT_EQ(steps.TakeStepsDue(0.4 * kStep), 0) << "only the half step was kept";
    EXPECT_EQ(steps.TakeStepsDue(0.2 * kStep), 1);
    EXPECT_EQ(steps.TakeStepsDue(3600.0), FixedSteps::kMaxStepsPerFrame) << "an hour's stall costs four steps";
}
