#include "platforms/qt/picture1.h"
#include "platforms/qt/qt_platform.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <algorithm>
#include <ctime>
#include <thread>

namespace qex {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Ignore final : SurfaceEvents {
    void keyPress(std::int16_t&) override {}
    void mouseMove(std::int16_t, std::int16_t, float, float) override {}
    void click() override {}
    void dblClick() override {}
};

class Platform : public ::testing::Test {
protected:
    Platform() : surface(ignore, &window), platform(window, surface, frames) {}

    const frames::FrameSet frames;
    Ignore ignore;
    QWidget window;
    Picture1 surface;
    QtPlatform platform;
};

double processorSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

TEST_F(Platform, WaitSleepsToItsDeadlineAndDeliversEventsMeanwhile)
{
    Clock::duration deliveredAfter{};
    const auto start = Clock::now();
    QTimer::singleShot(20ms, [&] { deliveredAfter = Clock::now() - start; });
    const double cpuBefore = processorSeconds();
    platform.Wait(120ms);
    const auto waited = Clock::now() - start;
    const double cpu = processorSeconds() - cpuBefore;
    EXPECT_GE(waited, 120ms);
    EXPECT_LT(waited, 200ms);
    EXPECT_GE(deliveredAfter, 19ms) << "an event that arrives during the wait is delivered then";
    EXPECT_LT(deliveredAfter, 60ms);
    EXPECT_LT(cpu, 0.03) << "waiting must not spin";
}

TEST_F(Platform, BackToBackWaitsKeepTheirPaceWithoutDrift)
{
    // One late wake shortens the next wait, so the pace is judged over several passes; a busy
    // machine (the tests run in parallel) can stall any single run, so the best of a few counts.
    constexpr int passes = 8;
    constexpr int tries = 5;
    for (const auto span : {300us, 1500us, 4200us}) {
        auto best = Clock::duration::max();
        for (int attempt = 0; attempt < tries; ++attempt) {
            platform.Wait(span);
            const auto start = Clock::now();
            for (int pass = 0; pass < passes; ++pass) {
                std::this_thread::sleep_for(span / 2);  // the pass's own work, absorbed by its wait
                platform.Wait(span);
            }
            const auto took = Clock::now() - start;
            // The priming wait may wake late, and that lateness comes out of the first pass.
            EXPECT_GE(took, passes * span - span) << span.count() << " us";
            best = std::min(best, took);
        }
        // Without the absorbing, the work would add passes * span / 2.
        EXPECT_LT(best, passes * span + span + 3ms) << span.count() << " us";
    }
}

TEST_F(Platform, AWaitAfterLongWorkStillWaitsItsFullSpan)
{
    platform.Wait(1ms);
    std::this_thread::sleep_for(10ms);
    const auto start = Clock::now();
    platform.Wait(4ms);
    EXPECT_GE(Clock::now() - start, 4ms);
}

TEST_F(Platform, NewPicturesComeNoSoonerThanOneRefreshApart)
{
    // Timed from before the first picture: the gate counts from when a change was due, so a
    // slow first paint on a busy machine would otherwise seem to shorten the next gap.
    const auto start = Clock::now();
    platform.ShowPicture(platform.PictureOf(1));
    platform.ShowPicture(platform.PictureOf(2));
    platform.ShowPicture(platform.PictureOf(2));  // the same picture again needs no refresh
    platform.ShowPicture(platform.PictureOf(3));
    const auto took = Clock::now() - start;
    EXPECT_GE(took, 2 * 16ms);
    EXPECT_LT(took, 80ms);
    EXPECT_EQ(surface.picture(), platform.PictureOf(3));
}

TEST_F(Platform, ShowingSomethingThatIsNotAFrameIsAnError)
{
    EXPECT_EXIT(platform.ShowPicture(nullptr), ::testing::ExitedWithCode(1), "no picture to show");
}

}  // namespace
}  // namespace qex
