#pragma once

#include "xwd_image.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qex::x11test {

inline constexpr int frameWidth = 345;
inline constexpr int frameHeight = 405;
inline constexpr int holderCount = 54;
inline constexpr int positionsPerLift = 18;
// The display surface's sunken border, in logical pixels, before the frame's top-left.
inline constexpr int borderWidth = 2;

constexpr int holderAt(int lift, int position)
{
    return position + 1 + positionsPerLift * lift;
}
constexpr int liftOf(int holder)
{
    return (holder - 1) / positionsPerLift;
}
constexpr int positionOf(int holder)
{
    return (holder - 1) % positionsPerLift;
}
constexpr int wrapPosition(int position)
{
    return ((position % positionsPerLift) + positionsPerLift) % positionsPerLift;
}

// The 54 frame bitmaps the program must show, decoded independently of the program.
class FrameLibrary {
public:
    // Loaded once per test binary; throws if any bitmap is missing or of the wrong size.
    static const FrameLibrary& instance();

    // The holder whose bitmap fills the window's inner area exactly, every frame pixel a
    // scale x scale block starting at (2, 2) logical pixels; 0 when none does.
    int identify(const Screenshot& shot, int scale = 1) const;

private:
    FrameLibrary();
    bool matches(int holder, const Screenshot& shot, int scale) const;

    std::array<std::vector<std::uint32_t>, holderCount> frames_;
};

}  // namespace qex::x11test
