#pragma once

#include "vec.h"

#include <algorithm>
#include <vector>

// Signed distances from a point to simple outlines, negative inside. Parts are
// built by combining these, which keeps their outlines joined without gaps.
namespace framegen {

inline double circleDistance(Vec p, Vec centre, double radius)
{
    return length(p - centre) - radius;
}

// A bar of half-width `halfWidth` with round ends centred on a and b.
inline double barDistance(Vec p, Vec a, Vec b, double halfWidth)
{
    const Vec ab = b - a;
    const Vec ap = p - a;
    const double t = std::clamp(dot(ap, ab) / dot(ab, ab), 0.0, 1.0);
    return length(ap - t * ab) - halfWidth;
}

// An axis-aligned rectangle given by two corners.
inline double boxDistance(Vec p, Vec low, Vec high)
{
    const Vec centre = 0.5 * (low + high);
    const Vec half = 0.5 * (high - low);
    const double qx = std::abs(p.x - centre.x) - half.x;
    const double qy = std::abs(p.y - centre.y) - half.y;
    const double outside = length(Vec{std::max(qx, 0.0), std::max(qy, 0.0)});
    return outside + std::min(std::max(qx, qy), 0.0);
}

// Union with a fillet of about `radius` in the inside corners, as a cast or
// machined part would have.
inline double filletUnion(double a, double b, double radius)
{
    const double h = std::max(radius - std::abs(a - b), 0.0) / radius;
    return std::min(a, b) - h * h * radius * 0.25;
}

// Closed polygon through `corners`.
double polygonDistance(Vec p, const std::vector<Vec>& corners);

}  // namespace framegen
