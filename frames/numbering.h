#pragma once

// How the 54 built-in frames are numbered: holders 1..54, table slots 0..53,
// three lifts of 18 positions in lift-major order.
namespace qex::frames {

inline constexpr int framesPerLift = 18;
inline constexpr int liftCount = 3;
inline constexpr int frameCount = framesPerLift * liftCount;

// Slot 0..53 of the frame table that holder N (1..54) fills.
constexpr int slotOfHolder(int holder) { return holder - 1; }

// Slot shown for lift 0..2 at position 0..17; other inputs give an index the caller must check.
constexpr int slotOf(int lift, int position) { return position + framesPerLift * lift; }

constexpr bool isSlot(int slot) { return slot >= 0 && slot < frameCount; }

}  // namespace qex::frames
