// The keyboard commands, judged by the exact frame each one brings on screen.
#include "frame_steps.h"
#include "stopped_player.h"
#include "session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;

TEST_F(StoppedPlayer, StepsOneFrameEachWayAndWrapsBetweenTheEndsOfTheLift)
{
    const int start = positionOf(shown);
    ASSERT_TRUE(keyBrings(session, "period", shown, holderAt(0, wrapPosition(start + 1))));
    ASSERT_TRUE(keyBrings(session, "slash", shown, holderAt(0, start)));
    ASSERT_TRUE(keyBrings(session, "asterisk", shown, holderAt(0, wrapPosition(start + 1))));
    ASSERT_TRUE(keyBrings(session, "slash", shown, holderAt(0, start)));

    // Walk to the nearer end of the lift, one checked step at a time.
    const bool towardsEnd = start >= positionsPerLift / 2;
    const int edge = towardsEnd ? positionsPerLift - 1 : 0;
    for (int position = start; position != edge;) {
        position += towardsEnd ? 1 : -1;
        ASSERT_TRUE(keyBrings(session, towardsEnd ? "period" : "slash", shown, holderAt(0, position)));
    }
    // Across the wrap and back, from whichever end was reached.
    const int across = positionsPerLift - 1 - edge;
    ASSERT_TRUE(keyBrings(session, towardsEnd ? "period" : "slash", shown, holderAt(0, across)));
    ASSERT_TRUE(keyBrings(session, towardsEnd ? "slash" : "period", shown, holderAt(0, edge)));
    ASSERT_TRUE(keyBrings(session, towardsEnd ? "period" : "slash", shown, holderAt(0, across)));
}

TEST_F(StoppedPlayer, KeypadStepsLikeTheMainKeyboard)
{
    const int start = positionOf(shown);
    session.key("Num_Lock");
    ASSERT_TRUE(keyBrings(session, "KP_Decimal", shown, holderAt(0, wrapPosition(start + 1))));
    ASSERT_TRUE(keyBrings(session, "KP_Divide", shown, holderAt(0, start)));
    ASSERT_TRUE(keyBrings(session, "KP_Divide", shown, holderAt(0, wrapPosition(start - 1))));
    ASSERT_TRUE(keyBrings(session, "KP_Multiply", shown, holderAt(0, start)));
}

TEST_F(StoppedPlayer, SpaceShowsTheSamePositionInLiftsOneTwoOneZero)
{
    const int position = positionOf(shown);
    ASSERT_TRUE(keyBrings(session, "space", shown, holderAt(1, position)));
    ASSERT_TRUE(keyBrings(session, "space", shown, holderAt(2, position)));
    // Steps stay within the lift that is shown.
    ASSERT_TRUE(keyBrings(session, "period", shown, holderAt(2, wrapPosition(position + 1))));
    ASSERT_TRUE(keyBrings(session, "slash", shown, holderAt(2, position)));
    ASSERT_TRUE(keyBrings(session, "space", shown, holderAt(1, position)));
    ASSERT_TRUE(keyBrings(session, "space", shown, holderAt(0, position)));
}

TEST_F(StoppedPlayer, LettersDigitsAndEnterChangeNothing)
{
    for (const char* keysym : {"a", "Z", "5", "Return", "KP_Enter"}) {
        session.key(keysym);
    }
    const auto still = session.waitForStillFrame(stillSpan, 5s);
    ASSERT_TRUE(still) << session.report();
    EXPECT_EQ(*still, shown);
    // The keyboard still works afterwards.
    EXPECT_TRUE(keyBrings(session, "period", shown, holderAt(0, wrapPosition(positionOf(shown) + 1))));
}

// At the start-up pace each key acts at the next pass, about 2 s later, so every pass
// is seen and the exact frame sequence can be checked.
TEST(RunKeysAtTheStartUpPace, StepBackRunBackwardsRunForwardsAndStopInPlace)
{
    Session session;
    session.focus();
    int shown = session.waitForPlayLoop().holder;
    const auto nextPass = [] {};
    // In the start-up run "/" does not stop in place: one frame back, then stopped.
    ASSERT_TRUE(keyBrings(session, "slash", shown, holderAt(0, 0)));
    // "-": two frames back, across the wrap, then one frame back per pass.
    ASSERT_TRUE(keyBrings(session, "minus", shown, holderAt(0, 16)));
    ASSERT_TRUE(bringsFrame(session, "the next pass", nextPass, shown, holderAt(0, 15)));
    // The keypad's "+": two frames forward.
    ASSERT_TRUE(keyBrings(session, "KP_Add", shown, holderAt(0, 17)));

    // After a run key, "." stops on the frame shown last. Nothing may change through the
    // next pass, about 2 s away; a correct program never leaves this frame however late
    // that pass comes.
    const auto stopSent = Clock::now();
    session.key("period");
    while (Clock::now() - stopSent < 3s) {
        ASSERT_EQ(session.holderOnScreen(), shown) << "\".\" after a run did not stop in place";
    }
    ASSERT_TRUE(keyBrings(session, "period", shown, holderAt(0, 0)));
}

}  // namespace
}  // namespace qex::x11test
