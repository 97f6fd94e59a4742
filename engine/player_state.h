#pragma once

#include "frames/numbering.h"
#include "engine/picture.h"

#include <array>

namespace qex {

// The record that the play loop and the input handlers share; owned by the window.
// Every numeric field starts at 0, which is how a never-written field reads. Integer sums
// are exact and C++'s % keeps the dividend's sign, as the loop's wrap-around needs.
struct PlayerState {
    float k = 0;     // counts per pass; whole counts 1000000 and 80000 are exact in a float
    int l = 0;       // frame position in the lift, 0..17
    int m = 0;       // backward-run flag, 0 or 1
    int mm = 0;      // forward-run flag, 0 or 1
    int n = 0;       // run code (1 running, 0 stopped) or pending command (-2, -1, 2, 3)
    int hl = 0;      // lift 0..2
    int updo = 0;    // direction of the next lift change, 1 or -1
    int nm = 0;      // scrub mode, 0 or 1
    int n1 = 0;      // copies of n, mm, m taken on entering scrub mode
    int mm1 = 0;
    int m1 = 0;
    float yyy = 0;   // pointer y of the previous scrub move, in surface units
    std::array<PictureRef, frames::frameCount> pics{};
};

// Command codes held in n.
namespace command {
inline constexpr int running = 1;
inline constexpr int stopped = 0;
inline constexpr int runBackwards = -1;
inline constexpr int runForwards = 3;
inline constexpr int stepBack = -2;
inline constexpr int stepForward = 2;
}  // namespace command

}  // namespace qex
