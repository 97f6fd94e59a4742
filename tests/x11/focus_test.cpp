// Under a window manager (QEX_TEST_WINDOW_MANAGER): the window has the keyboard focus as soon as
// it opens, without a click, while keeping its close box and staying out of the task bar.
#include "ending.h"
#include "session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;

// The window _NET_ACTIVE_WINDOW names, or 0.
unsigned long activeWindow(Session& session)
{
    const auto out = session.tool({"xprop", "-root", "_NET_ACTIVE_WINDOW"});
    const auto hash = out.find('#');
    return hash == std::string::npos ? 0 : std::stoul(out.substr(hash + 1), nullptr, 0);
}

TEST(OnOpening, TheWindowHasTheFocusStaysOutOfTheTaskBarAndKeysWorkWithoutAClick)
{
    ASSERT_TRUE(std::getenv("QEX_TEST_WINDOW_MANAGER")) << "this test needs a window manager to run";
    Session session;
    session.waitForPlayLoop();
    const unsigned long window = std::stoul(session.window());
    EXPECT_EQ(activeWindow(session), window) << "the window manager did not activate the new window";
    const auto state = session.tool({"xprop", "-id", session.window(), "_NET_WM_STATE"});
    EXPECT_THAT(state, HasSubstr("_NET_WM_STATE_SKIP_TASKBAR"));
    const auto actions = session.tool({"xprop", "-id", session.window(), "_NET_WM_ALLOWED_ACTIONS"});
    EXPECT_THAT(actions, HasSubstr("_NET_WM_ACTION_CLOSE"));

    // Typed at whatever has the focus: only a focused window ends.
    session.tool({"xdotool", "key", "Escape"});
    const auto ending = endingAfter(session, Clock::now());
    ASSERT_TRUE(ending.status) << "Escape did not reach the window; " << session.report();
    EXPECT_TRUE(ending.status->exited && ending.status->code == 0) << describe(*ending.status);
}

}  // namespace
}  // namespace qex::x11test
