#pragma once

#include "session.h"
#include "storm_script.h"

#include <atomic>
#include <chrono>
#include <future>

namespace qex::x11test {

// How far apart two button presses always are, by the X server's clock. Two presses
// closer than the double-click interval (400 ms by default) would end the program.
inline constexpr std::chrono::milliseconds pressSpacing{600};

// Feeds a storm script's lines on a thread of its own while the test watches the screen.
// The lines are spread evenly over `span` and sent back to back when the machine falls
// behind, so a loaded machine makes the storm denser rather than longer; only presses are
// ever held back, to keep them pressSpacing apart. Ending early stops after the current line.
class StormRun {
public:
    StormRun(Session& session, const StormScript& script, Clock::duration span);
    ~StormRun();
    StormRun(const StormRun&) = delete;
    StormRun& operator=(const StormRun&) = delete;

    bool finished() const { return done_.wait_for(std::chrono::seconds::zero()) == std::future_status::ready; }
    // Waits for the last line and rethrows what went wrong on the thread.
    void finish() { done_.get(); }

private:
    void feed(Session& session, const StormScript& script, Clock::duration span);

    std::atomic<bool> stop_{false};
    std::future<void> done_;
};

}  // namespace qex::x11test
