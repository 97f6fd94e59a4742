#include "tests/support/fake_platform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qex::testing {
namespace {

using ::testing::ElementsAre;

TEST(Stepping, StepForwardDuringACommandedRunStopsOnTheFrameShownLast)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 6;
    platform.afterPass(1, [&] { state.n = command::runForwards; });  // pass 2 shows 3
    platform.afterPass(4, [&] { state.n = command::stepForward; });
    platform.afterPass(5, [&] { state.n = command::stepForward; });
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 3, 4, 5, 5, 6));
    EXPECT_EQ(state.n, command::stopped);
}

TEST(Stepping, StepBackDuringABackwardRunStopsOnTheFrameShownLast)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 5;
    platform.afterPass(3, [&] { state.n = command::runBackwards; });
    platform.afterPass(4, [&] { state.n = command::stepBack; });
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 2, 3, 1, 1));
}

TEST(Stepping, StepBackWhileStoppedAtZeroWrapsToSeventeen)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 4;
    platform.atPump(53, [&] { state.l = 17; });
    platform.afterPass(1, [&] { state.n = command::stepForward; });
    platform.afterPass(2, [&] { state.n = command::stepBack; });
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(0, 1, 0, 0));
}

TEST(Stepping, DuringTheStartUpRunAStepMovesExactlyOneFrame)
{
    for (const int step : {command::stepForward, command::stepBack}) {
        PlayerState state;
        FakePlatform platform;
        platform.pumpLimit = FakePlatform::loadingPumps + 5;
        platform.afterPass(3, [&] { state.n = step; });
        RunProgram(state, platform);
        const int stop = step == command::stepForward ? 4 : 2;
        EXPECT_THAT(PassPositions(platform), ElementsAre(1, 2, 3, stop, stop)) << "step " << step;
    }
}

TEST(Stepping, OnlyTheLastCommandOfAPumpIsCarriedOut)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 4;
    platform.afterPass(2, [&] {
        state.n = command::runBackwards;
        state.n = command::stepForward;
    });
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 2, 3, 3));
}

TEST(Stepping, StoppedPlayerKeepsShowingTheSameFrameEveryPass)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 4;
    platform.afterPass(1, [&] { state.n = command::stepBack; });
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 0, 0, 0));
    EXPECT_EQ(platform.waits.size(), 4u) << "a stopped player still paces and pumps";
}

}  // namespace
}  // namespace qex::testing
