#include "tests/support/fake_platform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qex::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST(Playback, LoadsAllFramesShowingOnlyTheFirstThenPlaysLiftZeroForwards)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 20;
    int shownBeforeFirstPump = -1;
    platform.atPump(1, [&] { shownBeforeFirstPump = static_cast<int>(platform.shownHolders.size()); });

    EXPECT_FALSE(RunProgram(state, platform).byError);

    EXPECT_EQ(shownBeforeFirstPump, 1) << "slot 0 is on screen before any event is pumped";
    EXPECT_EQ(platform.shownHolders.front(), 1);
    EXPECT_EQ(platform.pictureRequests, 54);
    EXPECT_THAT(PassPositions(platform),
                ElementsAreArray({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 0, 1, 2}));
    EXPECT_THAT(PassLifts(platform), ::testing::Each(0));
}

TEST(Playback, LoadingPumpsOncePerFurtherPictureAndNothingWaits)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps;
    RunProgram(state, platform);
    EXPECT_EQ(platform.pumps, 53);
    EXPECT_EQ(platform.shownHolders.size(), 1u);
    EXPECT_TRUE(platform.waits.empty());
    for (int slot = 0; slot < 53; ++slot) {
        ASSERT_NE(state.pics[static_cast<std::size_t>(slot)], nullptr) << slot;
    }
}

TEST(Playback, TableSlotsFollowHolderNumbers)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 1;
    RunProgram(state, platform);
    for (int slot = 0; slot < 54; ++slot) {
        const auto* picture = dynamic_cast<const FakePicture*>(state.pics[static_cast<std::size_t>(slot)].get());
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->holder, slot + 1);
    }
}

TEST(Playback, StartUpValuesOverwriteWhatHandlersStoredWhileLoading)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 3;
    platform.atPump(10, [&] {
        state.n = command::runBackwards;
        state.hl = 2;
        state.updo = -1;
        state.k = 5;
    });
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 2, 3));
    EXPECT_THAT(PassLifts(platform), ElementsAre(0, 0, 0));
    EXPECT_EQ(state.updo, 1);
    EXPECT_EQ(platform.waits.front(), std::chrono::microseconds(2'000'002));
}

TEST(Playback, ScrubToggleAndPositionGivenWhileLoadingStayInForce)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 2;
    platform.atPump(53, [&] {
        state.nm = 1;
        state.l = 7;
    });
    RunProgram(state, platform);
    EXPECT_EQ(state.nm, 1);
    EXPECT_THAT(PassPositions(platform), ElementsAre(8, 9));
}

TEST(Playback, RunBackwardsWhileRunningForwardsMovesBackTwoThenOneAPass)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 10;
    platform.afterPass(5, [&] { state.n = command::runBackwards; });
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 2, 3, 4, 5, 3, 2, 1, 0, 17));
    EXPECT_EQ(state.m, 1);
    EXPECT_EQ(state.mm, 0);
}

TEST(Playback, RunForwardsWhileStoppedAtSeventeenShowsOne)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 4;
    platform.atPump(53, [&] { state.l = 16; });
    platform.afterPass(1, [&] { state.n = command::stepForward; });
    platform.afterPass(2, [&] { state.n = command::stepBack; });
    platform.afterPass(3, [&] { state.n = command::runForwards; });
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(17, 0, 17, 1));
}

TEST(Playback, LiftChangeKeepsThePosition)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 4;
    platform.afterPass(2, [&] { state.hl = 2; });
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 2, 3, 4));
    EXPECT_THAT(PassLifts(platform), ElementsAre(0, 0, 2, 2));
    EXPECT_EQ(platform.shownHolders.back(), 41) << "position 4 of lift 2 is holder 41";
}

TEST(Playback, AnIndexOutsideTheTableIsRefusedAsAnError)
{
    PlayerState state;
    FakePlatform platform;
    platform.afterPass(1, [&] { state.hl = 3; });
    const ProgramEnded ended = RunProgram(state, platform);
    EXPECT_TRUE(ended.byError);
    EXPECT_NE(ended.what.find("56"), std::string::npos) << ended.what;
    EXPECT_EQ(platform.shownHolders.size(), 2u);
}

}  // namespace
}  // namespace qex::testing
