#pragma once

#include <chrono>

namespace qex {

// Time one pass waits for the count k: (floor(k) + 1) counts of 2 us each when k >= 0,
// none when k < 0; saturates instead of overflowing for absurdly large k.
std::chrono::microseconds passWait(float k);

}  // namespace qex
