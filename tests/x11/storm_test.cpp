// Thousands of random key strokes, pointer moves and clicks: the program must come through
// alive, show only whole frames throughout, answer the keys afterwards and still quit at once.
#include "frame_steps.h"
#include "session.h"
#include "storm_run.h"
#include "storm_script.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t stormSeed = 20240611;
constexpr int stormEvents = 20000;
// Lines of 498 events, most with a press line after them: 80 lines, one every 350 ms, so a
// press every 700 ms, and some 8 s of sending on an idle machine with room to take three
// times that. With the checks after it the test stays under 45 s on a loaded machine.
constexpr int eventsPerLine = 498;
constexpr auto stormSpan = 28s;
constexpr auto captureInterval = 50ms;
constexpr auto stillSpan = 600ms;
constexpr auto escapeWithin = 100ms;

int xwininfoField(const std::string& text, const std::string& field)
{
    std::smatch found;
    const std::regex pattern("\\n\\s*" + field + ":\\s*(-?\\d+)");
    if (!std::regex_search(text, found, pattern)) {
        throw std::runtime_error("xwininfo gave no " + field + ": " + text);
    }
    return std::stoi(found[1]);
}

StormArea windowArea(Session& session)
{
    const auto window = session.tool({"xwininfo", "-id", session.window()});
    const auto root = session.tool({"xwininfo", "-root"});
    return {xwininfoField(window, "Absolute upper-left X"), xwininfoField(window, "Absolute upper-left Y"),
            xwininfoField(window, "Width"),                 xwininfoField(window, "Height"),
            xwininfoField(root, "Width"),                   xwininfoField(root, "Height")};
}

// With the pointer at the inner top-left, "." stops a run on the frame shown and steps a
// stopped player once; either way the player ends up stopped. Returns the frame it shows.
std::optional<int> stopParked(Session& session)
{
    session.moveTo(2, 2);
    session.key("period");
    return session.waitForStillFrame(stillSpan, 10s);
}

// On a stopped player a move down steps one frame in scrub mode and changes nothing
// otherwise (a scrub step comes within one 160 ms pass). Returns the frame it brought, or 0.
int probeScrub(Session& session, int shown)
{
    return session.frameAfter([&session] { session.moveTo(2, 40); }, shown, 2s);
}

TEST(InputStorm, LeavesTheProgramAliveShowingWholeFramesAndAnsweringKeys)
{
    Session session;
    session.focus();
    session.waitForPlayLoop();
    const auto script = makeStormScript(windowArea(session), stormSeed, stormEvents, eventsPerLine);
    RecordProperty("events", script.events);
    RecordProperty("presses", script.presses);
    ASSERT_EQ(script.events, stormEvents);

    const auto stormStart = Clock::now();
    int captures = 0;
    int inexact = 0;
    std::set<int> holders;
    {
        StormRun storm(session, script, stormSpan);
        while (!storm.finished()) {
            ASSERT_FALSE(session.program().poll()) << "the program ended during the storm; " << session.report();
            int holder = 0;
            try {
                holder = session.holderOnScreen();
            } catch (const std::exception& error) {
                FAIL() << "no capture during the storm: " << error.what() << "; " << session.report();
            }
            ++captures;
            inexact += holder == 0 ? 1 : 0;
            holders.insert(holder);
            std::this_thread::sleep_for(captureInterval);
        }
        ASSERT_NO_THROW(storm.finish());
    }
    const auto stormMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - stormStart);
    RecordProperty("storm_ms", static_cast<int>(stormMs.count()));
    RecordProperty("captures", captures);
    RecordProperty("distinct_frames", static_cast<int>(holders.size()));
    ASSERT_FALSE(session.program().poll()) << "the program ended during the storm; " << session.report();
    EXPECT_EQ(inexact, 0) << "of " << captures << " captures during the storm, " << inexact
                          << " showed no frame exactly";

    // The storm leaves any speed, run or stop, lift and scrub mode; find out and reset.
    const auto checksStart = Clock::now();
    session.focus();
    auto stopped = stopParked(session);
    ASSERT_TRUE(stopped) << "\".\" did not stop the player after the storm; " << session.report();
    int shown = *stopped;
    const int probed = probeScrub(session, shown);
    RecordProperty("scrub_mode_after_storm", probed != 0 ? "on" : "off");
    if (probed != 0) {
        ASSERT_EQ(probed, holderAt(liftOf(shown), wrapPosition(positionOf(shown) + 1)))
            << "a scrub move from holder " << shown;
        // The storm's last press is long past, so this click cannot pair with it.
        session.click();
        stopped = stopParked(session);
        ASSERT_TRUE(stopped) << "\".\" did not stop the player after leaving scrub mode; " << session.report();
        shown = *stopped;
        ASSERT_EQ(probeScrub(session, shown), 0) << "a click did not leave scrub mode";
        session.moveTo(2, 2);
    }

    // Stopped, at full speed, not scrubbing: every command must do exactly its step.
    const int lift = liftOf(shown);
    const int position = positionOf(shown);
    ASSERT_TRUE(keyBrings(session, "period", shown, holderAt(lift, wrapPosition(position + 1))));
    ASSERT_TRUE(keyBrings(session, "slash", shown, holderAt(lift, position)));
    // Which way Space goes depends on the lift changes the storm made.
    const int otherLift = session.frameAfter([&session] { session.key("space"); }, shown, 5s);
    ASSERT_NE(otherLift, 0) << "Space changed nothing; " << session.report();
    EXPECT_EQ(positionOf(otherLift), position) << "holder " << otherLift;
    EXPECT_EQ(std::abs(liftOf(otherLift) - lift), 1) << "holder " << otherLift;
    shown = otherLift;
    session.key("plus");
    for (int change = 0; change < 3; ++change) {
        const auto next = session.waitForHolder([shown](int holder) { return holder != 0 && holder != shown; }, 5s);
        ASSERT_TRUE(next) << "\"+\" did not keep the frames changing; " << session.report();
        shown = next->holder;
    }

    // xdotool's own start-up and connection are left out: the clock starts once it has
    // returned, when the key has certainly reached the X server.
    const auto sending = Clock::now();
    session.key("Escape");
    const auto sent = Clock::now();
    const auto status = session.program().waitForExit(5s);
    const auto ended = Clock::now();
    RecordProperty("checks_after_storm_ms", static_cast<int>((sending - checksStart) / 1ms));
    RecordProperty("escape_ms_with_xdotool", static_cast<int>((ended - sending) / 1ms));
    RecordProperty("escape_ms", static_cast<int>((ended - sent) / 1ms));
    ASSERT_TRUE(status) << "Escape did not end the program; " << session.report();
    EXPECT_TRUE(status->exited && status->code == 0) << describe(*status) << "; " << session.report();
    EXPECT_LE((ended - sent) / 1ms, escapeWithin / 1ms) << "ms after xdotool returned";
}

}  // namespace
}  // namespace qex::x11test
