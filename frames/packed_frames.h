#pragma once

#include "frames/packer/bitmap_packer.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace qex::frames {

inline constexpr std::size_t packedFrameBytes = static_cast<std::size_t>(packedRowBytes) * packedHeight;

// The rows of holder 1..54's picture, packed at build time from the committed bitmaps: top row
// first, 44 bytes a row, leftmost pixel in each byte's low bit, a set bit white. The caller
// checks the range.
std::span<const std::uint8_t, packedFrameBytes> packedFrame(int holder);

}  // namespace qex::frames
