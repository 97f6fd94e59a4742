#include "engine/pacing.h"
#include "tests/support/fake_platform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qex::testing {
namespace {

using std::chrono::microseconds;

TEST(Pacing, EachCountTakesTwoMicrosecondsAndNegativeCountsDoNotWait)
{
    EXPECT_EQ(passWait(1000000), microseconds(2'000'002)) << "start-up pace: one frame each 2 s";
    EXPECT_EQ(passWait(80000), microseconds(160'002)) << "scrub mode";
    EXPECT_EQ(passWait(16392.5f), microseconds(32'786)) << "whole part of a float, plus one";
    EXPECT_EQ(passWait(3.7f), microseconds(8));
    EXPECT_EQ(passWait(0.5f), microseconds(2));
    EXPECT_EQ(passWait(0), microseconds(2));
    EXPECT_EQ(passWait(-0.0f), microseconds(2)) << "minus zero is not below zero";
    EXPECT_EQ(passWait(-0.5f), microseconds(0));
    EXPECT_EQ(passWait(-1000), microseconds(0));
}

TEST(Pacing, HugeCountsSaturateInsteadOfOverflowing)
{
    const microseconds longest = passWait(3.0e38f);
    EXPECT_GT(longest, std::chrono::hours(24 * 365 * 1000));
    EXPECT_EQ(passWait(1.0e30f), longest);
}

TEST(Pacing, DelayReadsTheCountOnceWhenTheWaitStartsThenPumpsOnce)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 3;
    platform.afterPass(1, [&] { state.k = 80000; });
    platform.afterPass(2, [&] { state.k = -3; });
    RunProgram(state, platform);
    ASSERT_EQ(platform.waits.size(), 3u);
    EXPECT_EQ(platform.waits[0], microseconds(2'000'002));
    EXPECT_EQ(platform.waits[1], microseconds(160'002));
    EXPECT_EQ(platform.waits[2], microseconds(0));
    EXPECT_EQ(platform.pumps, FakePlatform::loadingPumps + 3);
}

}  // namespace
}  // namespace qex::testing
