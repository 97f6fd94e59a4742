#pragma once

#include <cmath>
#include <cstdint>

namespace qex {

// Tells which presses complete a double-click: the same button again within the desktop's
// double-click time and a few pixels of the first press. A third press begins anew.
class DoubleClick {
public:
    // A press of button at time (milliseconds, the window system's clock) at x, y (logical pixels).
    bool completedBy(std::uint32_t button, std::uint32_t time, double x, double y, std::uint32_t doubleClickMs)
    {
        constexpr double distance = 4;  // logical pixels the second press may stray
        const bool second = button == button_ && time - time_ <= doubleClickMs && std::abs(x - x_) <= distance &&
                            std::abs(y - y_) <= distance;
        button_ = second ? 0 : button;
        time_ = time;
        x_ = x;
        y_ = y;
        return second;
    }

private:
    std::uint32_t button_ = 0;  // the press a second one may complete, or 0
    std::uint32_t time_ = 0;
    double x_ = 0;
    double y_ = 0;
};

}  // namespace qex
