#pragma once

#include <cstdint>
#include <vector>

namespace framegen {

// A complete PNG file of 8-bit RGBA pixels (row-major, top row first, 4 bytes a pixel).
// Stored without compression, so the bytes depend on nothing but the pixels.
std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<std::uint8_t>& rgba);

}  // namespace framegen
