// What the window shows: the exact frame bitmaps, in order, at the start-up pace.
#include "session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;
using ::testing::AnyOf;
using ::testing::ElementsAre;

// Every frame change until `last` is on screen: each first sighting of a new exact frame.
std::vector<Sighting> framesUntil(Session& session, int last, Clock::duration timeout)
{
    std::vector<Sighting> seen;
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline && (seen.empty() || seen.back().holder != last)) {
        const int previous = seen.empty() ? 0 : seen.back().holder;
        const auto next = session.waitForHolder(
            [previous](int holder) { return holder != 0 && holder != previous; }, deadline - Clock::now());
        if (!next) {
            break;
        }
        seen.push_back(*next);
    }
    return seen;
}

double secondsBetween(const Sighting& earlier, const Sighting& later)
{
    return std::chrono::duration<double>(later.at - earlier.at).count();
}

std::vector<int> holders(const std::vector<Sighting>& seen)
{
    std::vector<int> list;
    for (const auto& sighting : seen) {
        list.push_back(sighting.holder);
    }
    return list;
}

TEST(FramesOnScreen, StartAtHolderOneThenStepThroughLiftZeroEveryTwoSeconds)
{
    Session session;
    // Holder 1 is up only while the frames load, which can be over before the first capture.
    const auto seen = framesUntil(session, 4, 20s);
    ASSERT_FALSE(seen.empty()) << session.report();
    EXPECT_THAT(seen.front().holder, AnyOf(1, 2));
    const auto order = holders(seen);
    if (seen.front().holder == 1) {
        ASSERT_THAT(order, ElementsAre(1, 2, 3, 4)) << session.report();
    } else {
        ASSERT_THAT(order, ElementsAre(2, 3, 4)) << session.report();
    }

    // Only changes that happened between two captures are timed; holder 2 may already
    // have been up for a while when it was first captured.
    const auto& third = seen[seen.size() - 2];
    const auto& fourth = seen.back();
    RecordProperty("ms_from_3_to_4", static_cast<int>(secondsBetween(third, fourth) * 1000));
    EXPECT_GE(secondsBetween(third, fourth), 1.7);
    EXPECT_LE(secondsBetween(third, fourth), 2.6);
    if (seen.front().holder == 1) {
        const auto& second = seen[1];
        EXPECT_GE(secondsBetween(second, third), 1.7);
        EXPECT_LE(secondsBetween(second, third), 2.6);
    }
}

TEST(FramesOnScreen, ScaleFactorTwoDrawsEachFramePixelAsAnExactTwoByTwoBlock)
{
    Session session(2);
    // Identification at scale 2 demands every 2 x 2 block to equal its bitmap pixel: any
    // smoothing, offset or other scale leaves no frame identified.
    const auto seen = session.waitForHolder([](int holder) { return holder != 0; }, 15s);
    ASSERT_TRUE(seen) << "no exactly doubled frame on screen; " << session.report();
    EXPECT_THAT(seen->holder, AnyOf(1, 2, 3));

    const auto shot = session.screenshot();
    EXPECT_EQ(shot.width, 698);
    EXPECT_EQ(shot.height, 814);
}

}  // namespace
}  // namespace qex::x11test
