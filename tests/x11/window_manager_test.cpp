// Under a real window manager (QEX_TEST_WINDOW_MANAGER): the desktop's own ways of closing
// end the program cleanly, and the manager offers closing but neither minimizing nor maximizing.
#include "ending.h"
#include "session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using ::testing::Not;

class UnderAWindowManager : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(std::getenv("QEX_TEST_WINDOW_MANAGER")) << "these tests need a window manager to run";
        session.waitForPlayLoop();
        session.tool({"xdotool", "windowactivate", "--sync", session.window()});
    }

    void expectCleanEnd(const char* how)
    {
        const auto ending = endingAfter(session, Clock::now());
        ASSERT_TRUE(ending.status) << how << " left the program running; " << session.report();
        EXPECT_TRUE(ending.status->exited && ending.status->code == 0)
            << how << ": " << describe(*ending.status) << "; " << session.report();
        EXPECT_LT(ending.after, 1s) << how;
    }

    Session session;
};

TEST_F(UnderAWindowManager, AltF4EndsWithStatusZero)
{
    session.tool({"xdotool", "key", "--clearmodifiers", "alt+F4"});
    expectCleanEnd("Alt+F4");
}

TEST_F(UnderAWindowManager, AClosingRequestToTheManagerEndsWithStatusZero)
{
    session.tool({"wmctrl", "-i", "-c", session.window()});
    expectCleanEnd("wmctrl -c");
}

TEST_F(UnderAWindowManager, OffersCloseButNeitherMinimizeNorMaximize)
{
    const auto actions = session.tool({"xprop", "-id", session.window(), "_NET_WM_ALLOWED_ACTIONS"});
    EXPECT_THAT(actions, HasSubstr("_NET_WM_ACTION_CLOSE"));
    EXPECT_THAT(actions, Not(HasSubstr("_NET_WM_ACTION_MINIMIZE")));
    EXPECT_THAT(actions, Not(HasSubstr("_NET_WM_ACTION_MAXIMIZE")));
    const auto state = session.tool({"xprop", "-id", session.window(), "_NET_WM_STATE"});
    EXPECT_THAT(state, HasSubstr("_NET_WM_STATE_SKIP_TASKBAR"));
}

}  // namespace
}  // namespace qex::x11test
