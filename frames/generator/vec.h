#pragma once

#include <cmath>

namespace framegen {

// Picture coordinates: x to the right, y downwards, one unit per pixel; the
// centre of pixel (i, j) is (i + 0.5, j + 0.5).
struct Vec {
    double x = 0.0;
    double y = 0.0;
};

constexpr Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
constexpr Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
constexpr Vec operator*(double k, Vec a) { return {k * a.x, k * a.y}; }
constexpr double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
inline double length(Vec a) { return std::sqrt(dot(a, a)); }

// Mirror image across the picture's vertical centre line (the width is 345).
constexpr Vec mirrored(Vec a) { return {345.0 - a.x, a.y}; }

}  // namespace framegen
