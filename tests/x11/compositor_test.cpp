// Under a compositing manager (QEX_TEST_WINDOW_MANAGER), which paints the screen from its own
// copy of the window: the screen shows one whole frame at every moment of the fastest pace.
#include "session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <set>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;

TEST(UnderACompositor, EverySampleOfTheScreenAtTheFastestPaceIsOneWholeFrame)
{
    ASSERT_TRUE(std::getenv("QEX_TEST_WINDOW_MANAGER")) << "this test needs a compositing manager to run";
    Session session;
    session.waitForPlayLoop();
    session.moveTo(2, 2);
    ASSERT_TRUE(session.waitForHolder([](int holder) { return holder != 0 && holder != 2; }, 8s))
        << session.report();
    int mixed = 0;
    std::set<int> shown;
    for (int sample = 0; sample < 600; ++sample) {
        const int holder = FrameLibrary::instance().identify(session.screenUnderWindow());
        if (holder == 0) {
            ++mixed;
        } else {
            shown.insert(holder);
        }
    }
    RecordProperty("mixed", mixed);
    EXPECT_EQ(mixed, 0) << "of 600 samples; " << session.report();
    // The start-up lift passes by many times in the samples' span, unless the screen stood still.
    EXPECT_EQ(shown.size(), static_cast<std::size_t>(positionsPerLift)) << session.report();
}

}  // namespace
}  // namespace qex::x11test
