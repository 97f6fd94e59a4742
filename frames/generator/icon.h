#pragma once

#include "canvas.h"

#include <cstdint>
#include <vector>

namespace framegen {

// The program's icon at `size` x `size` pixels, as 8-bit RGBA: the cam and its levers cut
// from `frame`, shrunk with area averaging onto a white rounded tile with a grey rim.
std::vector<std::uint8_t> drawIcon(const Canvas& frame, int size);

}  // namespace framegen
