#include "input/handlers.h"
#include "tests/support/fake_platform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qex::testing {
namespace {

using ::testing::ElementsAre;

struct Pointer {
    PlayerState& state;
    FakePlatform& platform;

    auto move(float x, float y)
    {
        return [this, x, y] { Picture1_MouseMove(state, platform, 0, 0, x, y); };
    }
    auto moves(std::vector<float> ys)
    {
        return [this, ys] {
            for (const float y : ys) {
                Picture1_MouseMove(state, platform, 1, 0, 3.0f, y);
            }
        };
    }
    auto click()
    {
        return [this] { Picture1_Click(state); };
    }
    auto key(char c)
    {
        return [this, c] {
            std::int16_t keyAscii = c;
            Picture1_KeyPress(state, platform, keyAscii);
        };
    }
};

TEST(Speed, PointerPositionSetsTheCountAsXTimesSeventyTimesY)
{
    PlayerState state;
    FakePlatform platform;
    Picture1_MouseMove(state, platform, 0, 0, 14.84f, 15.78f);
    EXPECT_EQ(state.k, static_cast<float>(14.84f * 70.0 * 15.78f));
    Picture1_MouseMove(state, platform, 0, 0, 0, 9.5f);
    EXPECT_EQ(state.k, 0);
    Picture1_MouseMove(state, platform, 0, 0, 7.5f, 0);
    EXPECT_EQ(state.k, 0);
}

TEST(Speed, OneNegativeCoordinateGivesANegativeCountAndNoWait)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 3;
    Pointer pointer{state, platform};
    platform.afterPass(1, pointer.move(-2.5f, 4.0f));
    RunProgram(state, platform);
    EXPECT_LT(state.k, 0);
    EXPECT_THAT(platform.waits, ElementsAre(std::chrono::microseconds(2'000'002), std::chrono::microseconds(0),
                                            std::chrono::microseconds(0)));
}

TEST(Speed, AProductBeyondTheFloatRangeIsReportedAsAnError)
{
    PlayerState state;
    FakePlatform platform;
    try {
        Picture1_MouseMove(state, platform, 0, 0, 3.0e37f, 3.0e37f);
        FAIL() << "an overflowing count was stored";
    } catch (const ProgramEnded& ended) {
        EXPECT_TRUE(ended.byError);
    }
    EXPECT_EQ(state.k, 0);
}

TEST(Scrub, EnteringDuringACommandedRunStopsInPlaceThenStepsAndLeavingResumes)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 10;
    Pointer pointer{state, platform};
    platform.afterPass(1, pointer.key('-'));
    platform.afterPass(3, pointer.click());
    platform.afterPass(4, pointer.moves({5.0f}));     // stops on the frame shown last
    platform.afterPass(5, pointer.moves({6.0f}));     // one forward
    platform.afterPass(6, pointer.moves({5.5f}));     // one back
    platform.afterPass(7, pointer.moves({5.0f}));     // one back
    platform.afterPass(8, pointer.click());           // the backward run resumes
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 17, 16, 15, 15, 16, 15, 14, 13, 12));
    EXPECT_EQ(state.k, 80000) << "the scrub count stays until the next move in normal mode";
    EXPECT_EQ(state.nm, 0);
}

TEST(Scrub, EnteringAndLeavingWhileStoppedStaysStoppedOnTheScrubbedFrame)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 6;
    Pointer pointer{state, platform};
    platform.afterPass(1, pointer.key('/'));
    platform.afterPass(2, pointer.click());
    platform.afterPass(3, pointer.moves({1.0f}));
    platform.afterPass(4, pointer.moves({2.0f}));
    platform.afterPass(5, pointer.click());
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 0, 0, 1, 2, 2));
    EXPECT_EQ(state.n, command::stopped);
}

TEST(Scrub, DuringTheStartUpRunTheFirstMoveAlreadySteps)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 4;
    Pointer pointer{state, platform};
    platform.afterPass(1, pointer.click());
    platform.afterPass(2, pointer.moves({4.0f}));
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 2, 3, 3));
}

TEST(Scrub, ManyMovesInOnePumpGiveOneStepInTheLastDirection)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 5;
    Pointer pointer{state, platform};
    platform.afterPass(1, pointer.key('/'));
    platform.afterPass(2, pointer.click());
    platform.afterPass(3, pointer.moves({8.0f, 9.0f, 10.0f, 9.5f}));
    platform.afterPass(4, pointer.moves({1.0f, 2.0f, 3.0f}));
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 0, 0, 17, 0));
}

TEST(Scrub, SidewaysMovesStepForwardAndTheFirstMoveComparesWithTheLastScrubY)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 8;
    Pointer pointer{state, platform};
    platform.afterPass(1, pointer.key('/'));
    platform.afterPass(2, pointer.click());
    platform.afterPass(3, pointer.moves({0.0f}));  // compared with 0 the first time: forward
    platform.afterPass(4, pointer.moves({6.0f}));
    platform.afterPass(5, [&] {
        Picture1_Click(state);
        Picture1_MouseMove(state, platform, 0, 0, 1.0f, 2.0f);  // normal mode: speed only
        Picture1_Click(state);
    });
    platform.afterPass(6, pointer.moves({5.0f}));  // below the last scrub y: back
    platform.afterPass(7, [&] { Picture1_MouseMove(state, platform, 0, 0, 9.0f, 5.0f); });
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 0, 0, 1, 2, 2, 1, 2));
}

TEST(Scrub, ADoubleClickTogglesTheModeThenEndsTheProgram)
{
    PlayerState state;
    FakePlatform platform;
    platform.afterPass(1, [&] {
        Picture1_Click(state);
        Picture1_DblClick(platform);
    });
    const ProgramEnded ended = RunProgram(state, platform);
    EXPECT_FALSE(ended.byError);
    EXPECT_EQ(state.nm, 1);
    EXPECT_EQ(state.n1, command::running);
    EXPECT_EQ(platform.shownHolders.size(), 2u);
}

}  // namespace
}  // namespace qex::testing
