#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qex::frames {

inline constexpr int packedWidth = 345;     // pixels
inline constexpr int packedHeight = 405;    // pixels
inline constexpr int packedRowBytes = 44;   // 345 bits padded to 32, as X servers pad bitmap rows

// One frame bitmap file as the program holds it, or why the file was refused.
struct PackedBitmap {
    std::vector<std::uint8_t> rows;  // top row first; empty when refused
    std::string refusal;             // empty when packed
};

// Takes only the exact frame format (17882 bytes: a 345 x 405 uncompressed 1-bit bitmap stored
// bottom-up, palette black then white) and gives its rows top-down, leftmost pixel in each byte's
// low bit, a set bit white, padding bits clear. Anything else is refused with the reason.
PackedBitmap packBitmap(std::span<const std::uint8_t> file);

}  // namespace qex::frames
