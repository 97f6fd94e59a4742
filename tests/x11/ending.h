#pragma once

#include "session.h"

#include <chrono>
#include <optional>

namespace qex::x11test {

// Longer than any ending the tests accept, so a hung program fails instead of stalling the run.
inline constexpr auto exitTimeout = std::chrono::seconds(5);

// How the program ended and how long after a given moment.
struct Ending {
    std::optional<ExitStatus> status;
    Clock::duration after{};
};

// Waits for the program to end and measures how long that took from `from`.
inline Ending endingAfter(Session& session, Clock::time_point from)
{
    Ending ending;
    ending.status = session.program().waitForExit(exitTimeout);
    ending.after = Clock::now() - from;
    return ending;
}

}  // namespace qex::x11test
