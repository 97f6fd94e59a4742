#pragma once

#include "frames/packed_frames.h"

#include <xcb/xproto.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qex::x11 {

inline constexpr int bandRows = 16;
inline constexpr std::size_t maxBands = (frames::packedHeight + bandRows - 1) / bandRows;

// Rectangles, top to bottom and never sharing a row, that together cover every pixel where two
// packed frames differ: one per band of bandRows rows with changes, as narrow as its changes (to
// whole bytes). Returns how many were written to `bands`; 0 when the frames are equal.
std::size_t changedBands(std::span<const std::uint8_t, frames::packedFrameBytes> from,
                         std::span<const std::uint8_t, frames::packedFrameBytes> to,
                         std::array<xcb_rectangle_t, maxBands>& bands);

}  // namespace qex::x11
