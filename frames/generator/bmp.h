#pragma once

#include "canvas.h"

#include <cstdint>
#include <vector>

namespace framegen {

// The complete file: 62 bytes of headers and palette (index 0 black,
// 1 white), then 1-bit rows bottom first, each padded with zero bits to 44
// bytes.
std::vector<std::uint8_t> encodeBmp(const Canvas& canvas);

}  // namespace framegen
