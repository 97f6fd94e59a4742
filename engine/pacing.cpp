#include "engine/pacing.h"

#include <cmath>

namespace qex {

// A fixed count rate, so the pace no longer depends on how fast the processor counts.
constexpr auto countTime = std::chrono::microseconds{2};

std::chrono::microseconds passWait(float k)
{
    if (!(k >= 0)) {
        return std::chrono::microseconds::zero();
    }
    const double counts = std::floor(static_cast<double>(k)) + 1.0;
    const double micros = counts * static_cast<double>(countTime.count());
    // A float count can exceed what a 64-bit tick count holds; such a wait is endless anyway.
    constexpr double longest = 0x1p62;
    if (micros >= longest) {
        return std::chrono::microseconds{static_cast<std::chrono::microseconds::rep>(longest)};
    }
    return std::chrono::microseconds{static_cast<std::chrono::microseconds::rep>(micros)};
}

}  // namespace qex
