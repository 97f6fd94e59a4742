#include "shapes.h"

#include <cmath>

namespace framegen {

double polygonDistance(Vec p, const std::vector<Vec>& corners)
{
    double nearest = dot(p - corners.front(), p - corners.front());
    bool inside = false;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        const Vec edge = corners[j] - corners[i];
        const Vec w = p - corners[i];
        const double t = std::clamp(dot(w, edge) / dot(edge, edge), 0.0, 1.0);
        const Vec gap = w - t * edge;
        nearest = std::min(nearest, dot(gap, gap));
        // Crossing test on the same edge decides inside or outside.
        const bool upper = p.y >= corners[i].y;
        const bool lower = p.y < corners[j].y;
        const bool left = edge.x * w.y > edge.y * w.x;
        if ((upper && lower && left) || (!upper && !lower && !left))
            inside = !inside;
    }
    const double d = std::sqrt(nearest);
    return inside ? -d : d;
}

}  // namespace framegen
