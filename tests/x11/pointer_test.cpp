// The pointer over the display surface: its position sets the pace, clicks toggle scrubbing.
#include "burst_moves.h"
#include "frame_steps.h"
#include "session.h"
#include "stopped_player.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;

// Brings the play loop to full speed: the pointer at the inner top-left gives the shortest
// wait, taken up once the start-up wait has run out. Returns false if that never happened.
bool fullSpeed(Session& session)
{
    session.waitForPlayLoop();
    session.moveTo(2, 2);
    return session.waitForHolder([](int holder) { return holder != 0 && holder != 2; }, 8s).has_value();
}

// The frames captured one after another during `span`, leaving out captures that
// matched no frame exactly.
std::vector<int> watch(Session& session, Clock::duration span)
{
    std::vector<int> seen;
    for (const auto start = Clock::now(); Clock::now() - start < span;) {
        if (const int holder = session.holderOnScreen(); holder != 0) {
            seen.push_back(holder);
        }
    }
    return seen;
}

TEST(Pointer, AtTheInnerTopLeftFramesChangeManyTimesInHalfASecond)
{
    Session session;
    ASSERT_TRUE(fullSpeed(session)) << session.report();
    const auto seen = watch(session, 500ms);
    // The start-up run moves one position forward per pass, so the forward distance between
    // two captures counts the passes between them, as long as they are less than a lift
    // (18 passes, some 300 ms at full speed) apart. A slow capture can only undercount.
    int passes = 0;
    for (std::size_t i = 1; i < seen.size(); ++i) {
        ASSERT_EQ(liftOf(seen[i]), 0) << "holder " << seen[i];
        passes += wrapPosition(positionOf(seen[i]) - positionOf(seen[i - 1]));
    }
    RecordProperty("captures", static_cast<int>(seen.size()));
    RecordProperty("passes", passes);
    // About 30 at one pass per display refresh; the start-up pace gives at most one.
    EXPECT_GE(passes, 10) << "over " << seen.size() << " captures";
}

TEST(Pointer, ClickScrubsFrameByFrameAndASecondClickResumesTheSavedRun)
{
    Session session;
    session.focus();
    ASSERT_TRUE(fullSpeed(session)) << session.report();
    // A backward run is the state the first click saves and the second one must restore.
    session.key("minus");
    session.click();
    // The first scrub move stops the run.
    session.moveTo(2, 8);
    const auto stopped = session.waitForStillFrame(stillSpan, 8s);
    ASSERT_TRUE(stopped) << "the first move in scrub mode did not stop the run; " << session.report();
    ASSERT_EQ(liftOf(*stopped), 0) << "holder " << *stopped;

    // Each move below waits for its frame, so every move lands in a pass of its own.
    int shown = *stopped;
    const int start = positionOf(shown);
    const auto moveTo = [&session](int x, int y) { return [&session, x, y] { session.moveTo(x, y); }; };
    ASSERT_TRUE(bringsFrame(session, "moving down", moveTo(2, 14), shown, holderAt(0, wrapPosition(start + 1))));
    ASSERT_TRUE(bringsFrame(session, "moving down", moveTo(2, 20), shown, holderAt(0, wrapPosition(start + 2))));
    ASSERT_TRUE(bringsFrame(session, "moving sideways", moveTo(9, 20), shown, holderAt(0, wrapPosition(start + 3))));
    ASSERT_TRUE(bringsFrame(session, "moving up", moveTo(9, 15), shown, holderAt(0, wrapPosition(start + 2))));
    ASSERT_TRUE(bringsFrame(session, "moving up", moveTo(9, 10), shown, holderAt(0, wrapPosition(start + 1))));
    const auto still = session.waitForStillFrame(stillSpan, 5s);
    ASSERT_TRUE(still) << session.report();
    ASSERT_EQ(*still, shown) << "a scrub move stepped more than once";

    session.click();
    // Scrubbing left a pass of about 160 ms, slow enough to follow the run frame by frame.
    const auto seen = watch(session, 1500ms);
    int backSteps = 0;
    std::string otherSteps;
    for (std::size_t i = 1; i < seen.size(); ++i) {
        if (seen[i] == seen[i - 1]) {
            continue;
        }
        const int back = wrapPosition(positionOf(seen[i - 1]) - positionOf(seen[i]));
        if (liftOf(seen[i]) == 0 && back >= 1 && back <= 5) {
            ++backSteps;
        } else {
            // Appended piece by piece: GCC 12 at -O3 warns falsely on the chained concatenation.
            otherSteps.append(" ").append(std::to_string(seen[i - 1])).append("->").append(std::to_string(seen[i]));
        }
    }
    RecordProperty("backward_steps", backSteps);
    EXPECT_EQ(otherSteps, "") << "changes that are not short backward steps in lift 0";
    EXPECT_GE(backSteps, 3) << "the backward run did not resume; " << session.report();
}

// Processor seconds spent by a process and those it started (a runner's program among them).
double processorSeconds(pid_t root)
{
    double ticks = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::ifstream file(entry.path() / "stat");
        std::string line;
        if (!std::getline(file, line) || line.rfind(')') == std::string::npos) {
            continue;
        }
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        std::string field;
        std::vector<std::string> values;
        while (fields >> field && values.size() < 13) {
            values.push_back(field);
        }
        const pid_t pid = std::stoi(name);
        const pid_t parent = std::stoi(values.at(1));
        if (pid == root || parent == root) {
            ticks += std::stod(values.at(11)) + std::stod(values.at(12));
        }
    }
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

using PointerWhenStopped = StoppedPlayer;

TEST_F(PointerWhenStopped, AtTheFastestPaceSpendsNoProcessorUntilInputComes)
{
    // Every further pass shows the same picture: a player that keeps passing spins a core.
    const pid_t program = session.program().pid();
    const double before = processorSeconds(program);
    std::this_thread::sleep_for(2s);
    EXPECT_LT(processorSeconds(program) - before, 0.2) << "processor seconds in 2 s, stopped";
}

TEST_F(PointerWhenStopped, ScrubMovesSentInOneBurstEachCountSoTheLastOneUpStepsBack)
{
    session.click();
    const int start = positionOf(shown);
    ASSERT_TRUE(bringsFrame(session, "moving down", [&] { session.moveTo(2, 100); }, shown,
                            holderAt(0, wrapPosition(start + 1))));
    // Down, down, down, then up: merged into one move they would read as a single move down.
    const auto burst = [this] {
        moveInOneBurst(session.display(), std::stoul(session.window()), session.program().pid(),
                       {{2, 110}, {2, 120}, {2, 130}, {2, 105}});
    };
    ASSERT_TRUE(bringsFrame(session, "a burst ending upwards", burst, shown, holderAt(0, start)));
    const auto still = session.waitForStillFrame(stillSpan, 5s);
    ASSERT_TRUE(still) << session.report();
    EXPECT_EQ(*still, shown) << "one burst stepped more than once";
}

}  // namespace
}  // namespace qex::x11test
