#pragma once

#include <cstdint>

namespace qex {

// The surface's user scale: 14.8828125 units across the 345-pixel inner width and 29.84375
// units down the 764-pixel inner height, for the inner pixel at column col, row row.
constexpr float unitsAcross(double col) { return static_cast<float>(14.8828125 * col / 345); }
constexpr float unitsDown(double row) { return static_cast<float>(29.84375 * row / 764); }

// Receives the display surface's input, already translated into the program's own terms.
class SurfaceEvents {
public:
    virtual ~SurfaceEvents() = default;
    virtual void keyPress(std::int16_t& keyAscii) = 0;
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt; x, y in surface units.
    virtual void mouseMove(std::int16_t button, std::int16_t shift, float x, float y) = 0;
    virtual void click() = 0;
    virtual void dblClick() = 0;
};

}  // namespace qex
