#include "input/handlers.h"
#include "tests/support/fake_platform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qex::testing {
namespace {

using ::testing::ElementsAre;

// Types the characters of `keys` into the handler, in order, inside one pump.
auto Type(PlayerState& state, FakePlatform& platform, std::string keys)
{
    return [&state, &platform, keys] {
        for (const char key : keys) {
            std::int16_t keyAscii = static_cast<unsigned char>(key);
            Picture1_KeyPress(state, platform, keyAscii);
            EXPECT_EQ(keyAscii, static_cast<unsigned char>(key)) << "the key code is never changed";
        }
    };
}

std::vector<int> PositionsAfter(std::vector<std::pair<int, std::string>> script, int passes)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + passes;
    for (const auto& [pass, keys] : script) {
        platform.afterPass(pass, Type(state, platform, keys));
    }
    RunProgram(state, platform);
    return PassPositions(platform);
}

TEST(Keys, RunKeysMoveTwoFramesInTheirFirstPassThenOneAPass)
{
    EXPECT_THAT(PositionsAfter({{5, "-"}}, 9), ElementsAre(1, 2, 3, 4, 5, 3, 2, 1, 0));
    EXPECT_THAT(PositionsAfter({{2, "/"}, {3, "+"}}, 6), ElementsAre(1, 2, 1, 3, 4, 5));
    EXPECT_THAT(PositionsAfter({{2, "/"}, {3, ","}}, 6), ElementsAre(1, 2, 1, 3, 4, 5));
}

TEST(Keys, StopKeysHoldACommandedRunAndStepWhenStopped)
{
    EXPECT_THAT(PositionsAfter({{1, "+"}, {3, "*"}, {5, "*"}, {6, "."}}, 7),
                ElementsAre(1, 3, 4, 4, 4, 5, 6));
    EXPECT_THAT(PositionsAfter({{1, "-"}, {3, "/"}, {5, "/"}}, 6), ElementsAre(1, 17, 16, 16, 16, 15));
}

TEST(Keys, StopKeysDuringTheStartUpRunStepOneFrame)
{
    EXPECT_THAT(PositionsAfter({{2, "."}}, 4), ElementsAre(1, 2, 3, 3));
    EXPECT_THAT(PositionsAfter({{2, "/"}}, 4), ElementsAre(1, 2, 1, 1));
}

TEST(Keys, OnlyTheLastCommandKeyOfAPumpCounts)
{
    EXPECT_THAT(PositionsAfter({{3, "-*"}}, 5), ElementsAre(1, 2, 3, 4, 4));
}

TEST(Keys, OtherKeysChangeNothing)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 4;
    platform.afterPass(2, Type(state, platform, "a5\r\tQ\x7f\xe9"));
    RunProgram(state, platform);
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 2, 3, 4));
    EXPECT_EQ(state.n, command::running);
    EXPECT_EQ(state.hl, 0);
    EXPECT_EQ(state.updo, 1);
}

TEST(Lifts, SpaceWalksTheLiftsUpAndDownAtTheSamePosition)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 8;
    platform.afterPass(1, Type(state, platform, "/"));
    for (int pass = 2; pass <= 7; ++pass) {
        platform.afterPass(pass, Type(state, platform, " "));
    }
    RunProgram(state, platform);
    EXPECT_THAT(PassLifts(platform), ElementsAre(0, 0, 1, 2, 1, 0, 1, 2));
    EXPECT_THAT(PassPositions(platform), ElementsAre(1, 0, 0, 0, 0, 0, 0, 0));
}

TEST(Lifts, EverySpaceInOnePumpCounts)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 2;
    platform.afterPass(1, Type(state, platform, "   "));
    RunProgram(state, platform);
    EXPECT_THAT(PassLifts(platform), ElementsAre(0, 1));
    EXPECT_EQ(state.updo, -1);
}

TEST(Lifts, SpaceWhileLoadingIsUndoneByTheStartUpValues)
{
    PlayerState state;
    FakePlatform platform;
    platform.pumpLimit = FakePlatform::loadingPumps + 2;
    platform.atPump(20, Type(state, platform, "  "));
    platform.atPump(21, [&] { EXPECT_EQ(state.hl, 1); });
    RunProgram(state, platform);
    EXPECT_THAT(PassLifts(platform), ElementsAre(0, 0));
    EXPECT_EQ(state.updo, 1);
}

TEST(Keys, EscapeEndsTheProgramAtOnceInEveryMode)
{
    for (const std::string before : {"", "/", "+"}) {
        for (const bool scrub : {false, true}) {
            PlayerState state;
            FakePlatform platform;
            platform.afterPass(1, Type(state, platform, before));
            platform.afterPass(2, [&] {
                if (scrub) {
                    Picture1_Click(state);
                }
                std::int16_t escape = 27;
                Picture1_KeyPress(state, platform, escape);
                state.n = 99;  // never reached
            });
            const ProgramEnded ended = RunProgram(state, platform);
            EXPECT_FALSE(ended.byError);
            EXPECT_NE(state.n, 99);
            EXPECT_EQ(platform.pumps, FakePlatform::loadingPumps + 2);
            EXPECT_EQ(platform.shownHolders.size(), 3u) << "no pass runs after Escape";
        }
    }
}

}  // namespace
}  // namespace qex::testing
