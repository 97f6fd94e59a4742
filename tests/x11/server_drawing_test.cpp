// On an X server the frames are copied by the server from pixmaps it keeps, into a child
// window over the picture area; these check that this path is taken and stays whole.
#include "stopped_player.h"

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;

TEST(ServerDrawing, FramesGoToAChildWindowOverExactlyThePictureArea)
{
    Session session;
    session.waitForPlayLoop();
    const auto tree = session.tool({"xwininfo", "-children", "-id", session.window()});
    EXPECT_TRUE(std::regex_search(tree, std::regex("1 child:"))) << tree;
    // The inner area starts inside the 2-pixel border and a frame is 345 x 405.
    EXPECT_TRUE(std::regex_search(tree, std::regex(R"(345x405\+2\+2)"))) << tree;
}

using ServerDrawingWhenStopped = StoppedPlayer;

TEST_F(ServerDrawingWhenStopped, TheShownFrameComesBackAfterTheWindowIsHiddenAndShownAgain)
{
    // Nothing new is drawn while the player stands still, so only the redraw on exposure can
    // bring the frame back.
    session.tool({"xdotool", "windowunmap", "--sync", session.window()});
    session.tool({"xdotool", "windowmap", "--sync", session.window()});
    const auto back = session.waitForHolder([this](int holder) { return holder == shown; }, 3s);
    EXPECT_TRUE(back) << "holder " << shown << " did not come back; " << session.report();
}

}  // namespace
}  // namespace qex::x11test
