#pragma once

#include "session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

namespace qex::x11test {

// Checks that `act` takes the screen from `shown` to exactly `expected`, and records the
// new frame in `shown` so a sequence of steps reads as a list of expectations.
inline ::testing::AssertionResult bringsFrame(Session& session, const std::string& what,
                                              const std::function<void()>& act, int& shown, int expected)
{
    using namespace std::chrono_literals;
    // The longest wait is a pass at the start-up pace (about 2 s) plus a loaded machine's delays.
    const int now = session.frameAfter(act, shown, 5s);
    if (now != expected) {
        return ::testing::AssertionFailure() << what << " on holder " << shown << " brought holder " << now
                                             << " (0: no change, or no exact frame) instead of " << expected
                                             << "; " << session.report();
    }
    shown = now;
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult keyBrings(Session& session, const std::string& keysym, int& shown, int expected)
{
    return bringsFrame(session, "key " + keysym, [&] { session.key(keysym); }, shown, expected);
}

}  // namespace qex::x11test
