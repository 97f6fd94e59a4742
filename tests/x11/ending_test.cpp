// Every way the program ends, and that each ends it cleanly and promptly.
#include "captured_output.h"
#include "close_request.h"
#include "ending.h"
#include "session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;

// A start-up pass waits 2 s; ending well inside that shows events are served during the wait.
constexpr auto promptly = 500ms;

::testing::AssertionResult endedCleanly(const Ending& ending, Clock::duration within)
{
    if (!ending.status) {
        return ::testing::AssertionFailure() << "the program is still running";
    }
    if (!ending.status->exited || ending.status->code != 0) {
        return ::testing::AssertionFailure() << "the program ended with " << describe(*ending.status);
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(ending.after);
    if (ending.after > within) {
        return ::testing::AssertionFailure() << "the program took " << ms.count() << " ms to end";
    }
    return ::testing::AssertionSuccess();
}

TEST(Ending, EscapeEndsAtOnceWhileStarting)
{
    Session session;
    session.focus();
    session.key("Escape");
    EXPECT_TRUE(endedCleanly(endingAfter(session, Clock::now()), promptly)) << session.report();
}

TEST(Ending, EscapeEndsAtOnceDuringTheStartUpWait)
{
    Session session;
    session.focus();
    session.waitForPlayLoop();
    session.key("Escape");
    EXPECT_TRUE(endedCleanly(endingAfter(session, Clock::now()), promptly)) << session.report();
}

TEST(Ending, WindowManagerCloseRequestEndsWithStatusZero)
{
    Session session;
    session.waitForPlayLoop();
    sendCloseRequest(session.display(), std::stoul(session.window()));
    EXPECT_TRUE(endedCleanly(endingAfter(session, Clock::now()), promptly)) << session.report();
}

TEST(Ending, DoubleClickOnTheSurfaceEndsWithStatusZero)
{
    Session session;
    session.waitForPlayLoop();
    session.moveTo(100, 100);
    session.doubleClick();
    EXPECT_TRUE(endedCleanly(endingAfter(session, Clock::now()), promptly)) << session.report();
}

TEST(Ending, WithoutADisplayOneLineOnStderrAndStatusOne)
{
    CapturedOutput stderrOutput;
    SpawnOptions options;
    options.argv = programCommand();
    // The inherited environment has DISPLAY and WAYLAND_DISPLAY removed.
    options.environment = Environment::inherited();
    options.stderrFd = stderrOutput.fd();
    ChildProcess program(options);

    const auto status = program.waitForExit(exitTimeout);
    ASSERT_TRUE(status) << "the program kept running without a display";
    // A crash (abort, core dump) would show as a signal, not as exit status 1.
    EXPECT_TRUE(status->exited) << describe(*status);
    EXPECT_EQ(status->code, 1) << describe(*status);

    const std::string err = stderrOutput.text();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_TRUE(!err.empty() && err.back() == '\n' && err.size() > 1) << err;
}

}  // namespace
}  // namespace qex::x11test
