#pragma once

#include "frame_library.h"
#include "session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace qex::x11test {

// Long enough that a running player would have moved on at any pace the tests use.
inline constexpr std::chrono::milliseconds stillSpan{600};

// Stops the player with the passes at full speed, so later steps show within a refresh.
// The pointer at the inner top-left makes every wait after the current one as short as
// possible; "/" then stops the run. Returns the frame it stopped on.
inline std::optional<int> stopAtFullSpeed(Session& session)
{
    using namespace std::chrono_literals;
    session.focus();
    session.waitForPlayLoop();
    session.moveTo(2, 2);
    // The pointer's speed is read when a wait starts: the start-up wait runs out first.
    if (!session.waitForHolder([](int holder) { return holder != 0 && holder != 2; }, 8s)) {
        return std::nullopt;
    }
    session.key("slash");
    return session.waitForStillFrame(stillSpan, 8s);
}

// A session whose player stands still on a frame of lift 0, `shown`.
class StoppedPlayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto stopped = stopAtFullSpeed(session);
        ASSERT_TRUE(stopped) << "\"/\" did not stop the run; " << session.report();
        ASSERT_EQ(liftOf(*stopped), 0) << "holder " << *stopped;
        shown = *stopped;
    }

    Session session;
    int shown = 0;
};

}  // namespace qex::x11test
