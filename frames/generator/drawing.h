#pragma once

#include "canvas.h"
#include "vec.h"

#include <vector>

namespace framegen {

// One frame: the machine at `position` (0..17) of a lift whose levers swing
// `fullSwing` degrees, on a cam cut for that swing (see camOutline).
Canvas drawFrame(const std::vector<Vec>& camOutline, double fullSwing, int position);

}  // namespace framegen
