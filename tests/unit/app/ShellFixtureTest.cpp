#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "ShellFixture.h"

namespace velinor::app {
namespace {

using platform::ControlId;
using testing::RecordingPlatform;

// A scenario whose program ends before the user has taken every step fails and says where:
// the steps left over, and the checks inside them, must not vanish unrun.
class Steps : public testing::ShellFixture {};

TEST_F(Steps, AProgramThatEndsBeforeTheLastStepFailsTheScenario) {
    bool lastStepRan = false;
    Then([](RecordingPlatform& p) { p.UserClick(ControlId::OptModeLogo); });
    Then([](RecordingPlatform& p) { p.UserClose(0); });
    Then([](RecordingPlatform& p) { p.UserClick(ControlId::OptModeText); });
    Then([&lastStepRan](RecordingPlatform&) { lastStepRan = true; });
    EXPECT_NONFATAL_FAILURE(RunProgram(), "the program ended after step 2 of 4; steps 3 to 4 never ran");
    EXPECT_FALSE(lastStepRan);
    EXPECT_TRUE(platform.mainWindowClosed);
}

TEST_F(Steps, StepsGivenToAProgramThatNeverRanAreStepsNotTaken) {
    Then([](RecordingPlatform& p) { p.UserClick(ControlId::OptModeLogo); });
    EXPECT_NONFATAL_FAILURE(platform.ExpectEveryStepTaken(), "the program ended after step 0 of 1");
}

TEST_F(Steps, AFolderAnswerNeverAskedForFailsTheScenario) {
    platform.folderAnswers = {"/fotos/"};
    EXPECT_NONFATAL_FAILURE(RunProgram(), "1 folder requester answer(s) never asked for, the first /fotos/");
}

TEST_F(Steps, AProgramThatTakesEveryStepPasses) {
    int taken = 0;
    Then([&taken](RecordingPlatform& p) {
        ++taken;
        p.UserClick(ControlId::OptModeLogo);
    });
    Then([&taken](RecordingPlatform& p) {
        ++taken;
        p.PointerAt({10, 10});   // the panels change with the next event that is not a control's
    });
    Then([&taken](RecordingPlatform& p) {
        ++taken;
        EXPECT_TRUE(p.ControlVisible(ControlId::BoxLogo));
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(taken, 3);
    EXPECT_EQ(platform.stepsTaken, 3);
}

}  // namespace
}  // namespace velinor::app
