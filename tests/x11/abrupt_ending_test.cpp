// Endings that come from outside: the X server going away, the usual termination signals,
// and a window manager's close request while the program is still starting.
#include "close_request.h"
#include "ending.h"
#include "session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;
using ::testing::AnyOf;
using ::testing::HasSubstr;

constexpr auto closeWithin = 100ms;
constexpr auto windowGoneTimeout = 3s;

long long ms(Clock::duration span)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(span).count();
}

std::string lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Absent from the server's window tree, so destroyed rather than merely hidden, and not
// found by a search for the program's visible windows either.
bool windowGone(Session& session)
{
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx ", std::stoul(session.window()));
    const auto tree = session.tool({"xwininfo", "-root", "-tree"});
    const auto search = session.run({"xdotool", "search", "--onlyvisible", "--name", "QEX"});
    const bool found = search.out.find_first_of("0123456789") != std::string::npos;
    return tree.find(id) == std::string::npos && !found;
}

TEST(ServerLoss, EndsWithinASecondWithAnErrorStatusAndALineOnStderr)
{
    Session session;
    session.waitForPlayLoop();
    // At full speed the loss comes while the program is busy drawing.
    session.moveTo(2, 2);
    ASSERT_TRUE(session.waitForHolder([](int holder) { return holder != 0 && holder != 2; }, 8s))
        << session.report();
    const auto before = session.errorOutput().size();

    const auto stopping = Clock::now();
    session.stopXServer();
    const auto ending = endingAfter(session, stopping);

    ASSERT_TRUE(ending.status) << "the program kept running without its X server; " << session.report();
    // A crash or an abort would show as a signal.
    EXPECT_TRUE(ending.status->exited) << describe(*ending.status);
    EXPECT_NE(ending.status->code, 0) << describe(*ending.status);
    EXPECT_LE(ms(ending.after), 1000) << "ms from stopping the server";
    const std::string said = session.errorOutput().substr(before);
    EXPECT_TRUE(said.size() > 1 && said.back() == '\n') << "stderr after the loss: \"" << said << "\"";
    EXPECT_THAT(lowercase(said), AnyOf(HasSubstr("x11"), HasSubstr("x server"), HasSubstr("display")))
        << "stderr after the loss does not say what was lost";
}

class TerminationSignal : public ::testing::TestWithParam<int> {};

TEST_P(TerminationSignal, EndsTheProgramAsThatSignalAndItsWindowGoes)
{
    const int signum = GetParam();
    Session session;
    session.waitForPlayLoop();
    ASSERT_FALSE(windowGone(session)) << "the check cannot see the window it is about";
    const auto sending = Clock::now();
    ASSERT_EQ(::kill(session.program().pid(), signum), 0);
    const auto ending = endingAfter(session, sending);

    ASSERT_TRUE(ending.status) << "the program survived signal " << signum << "; " << session.report();
    // Either the signal's own default ending, or a handler that exits the way a shell reports it.
    const bool bySignal = !ending.status->exited && ending.status->signal == signum;
    const bool byExit = ending.status->exited && ending.status->code == 128 + signum;
    EXPECT_TRUE(bySignal || byExit) << describe(*ending.status) << "; " << session.report();
    EXPECT_LE(ms(ending.after), 1000) << "ms from the signal";

    // The server takes a dead client's windows down once it notices the closed connection.
    const auto deadline = Clock::now() + windowGoneTimeout;
    bool gone = windowGone(session);
    while (!gone && Clock::now() < deadline) {
        std::this_thread::sleep_for(50ms);
        gone = windowGone(session);
    }
    EXPECT_TRUE(gone) << "window " << session.window() << " is still on screen";
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignal, ::testing::Values(SIGTERM, SIGINT),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == SIGTERM ? std::string("SIGTERM") : std::string("SIGINT");
                         });

::testing::AssertionResult endedWithStatusZeroWithin(const Ending& ending, Clock::duration within)
{
    if (!ending.status) {
        return ::testing::AssertionFailure() << "the program is still running";
    }
    if (!ending.status->exited || ending.status->code != 0) {
        return ::testing::AssertionFailure() << "the program ended with " << describe(*ending.status);
    }
    if (ending.after > within) {
        return ::testing::AssertionFailure() << "the program took " << ms(ending.after) << " ms to end";
    }
    return ::testing::AssertionSuccess();
}

// The session returns as soon as the window is mapped: the frames are still loading or the
// first one has just begun its 2 s.
TEST(EarlyCloseRequest, RightAfterTheWindowAppearsEndsWithStatusZeroAtOnce)
{
    Session session;
    const auto appeared = Clock::now();
    sendCloseRequest(session.display(), std::stoul(session.window()));
    // Sent and synchronised with the server: from here on it is the program's time.
    const auto sent = Clock::now();
    ASSERT_LT(ms(sent - appeared), 1000) << "the request came too late to test the start";
    EXPECT_TRUE(endedWithStatusZeroWithin(endingAfter(session, sent), closeWithin)) << session.report();
}

TEST(EarlyCloseRequest, InTheFirstFramesTwoSecondWaitEndsWithStatusZeroAtOnce)
{
    Session session;
    const auto firstPass = session.waitForPlayLoop();
    sendCloseRequest(session.display(), std::stoul(session.window()));
    const auto sent = Clock::now();
    // Holder 2 came up no earlier than the capture before the one that saw it.
    ASSERT_LT(ms(sent - firstPass.at), 1000) << "the request came too late to fall in the 2 s wait";
    EXPECT_TRUE(endedWithStatusZeroWithin(endingAfter(session, sent), closeWithin)) << session.report();
}

}  // namespace
}  // namespace qex::x11test
