#pragma once

#include "vec.h"

namespace framegen {

// Sine and cosine of an angle in degrees, evaluated with a fixed polynomial so
// the result does not depend on the C library's implementation.
double sinDeg(double degrees);
double cosDeg(double degrees);

// Turns v by `degrees`; with y pointing down a positive angle looks clockwise.
Vec rotated(Vec v, double degrees);

}  // namespace framegen
