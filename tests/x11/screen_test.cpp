// What the screen shows of the window under a window manager, which may be a compositing one
// that paints the screen from its own copy of the window.
#include "session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;

TEST(TheScreen, ShowsOneWholeFrameInEverySampleAtTheFastestPace)
{
    Session session;
    session.waitForPlayLoop();
    session.moveTo(2, 2);
    ASSERT_TRUE(session.waitForHolder([](int holder) { return holder != 0 && holder != 2; }, 8s))
        << session.report();
    int mixed = 0;
    std::set<int> shown;
    for (int sample = 0; sample < 600; ++sample) {
        const int holder = FrameLibrary::instance().identify(session.screenUnderWindow());
        mixed += holder == 0;
        shown.insert(holder);
    }
    EXPECT_EQ(mixed, 0) << "of 600 samples; " << session.report();
    // The start-up lift passes many times in the samples' span, unless the screen stood still.
    EXPECT_GE(shown.size(), static_cast<std::size_t>(positionsPerLift)) << session.report();
}

}  // namespace
}  // namespace qex::x11test
