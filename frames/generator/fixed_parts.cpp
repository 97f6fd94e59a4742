#include "parts.h"

#include "shapes.h"

#include <cmath>

namespace framegen {
namespace {

constexpr double pinRadius = 5.5;
constexpr double hangerHalfWidth = 9.0;
constexpr double footHalfWidth = 17.0;
constexpr double footDepth = 8.0;
constexpr double ceilingHalfSpan = 34.0;
constexpr double shaftRadius = 11.0;

int pixelOf(double v) { return static_cast<int>(std::floor(v)); }

}  // namespace

void drawCross(Canvas& canvas, Vec centre, int arm)
{
    const int x = pixelOf(centre.x);
    const int y = pixelOf(centre.y);
    canvas.line(x - arm, y, x + arm, y);
    canvas.line(x, y - arm, x, y + arm);
}

void drawSupport(Canvas& canvas, Vec pivot)
{
    const Vec from{pivot.x - ceilingHalfSpan, ceilingY};
    const Vec to{pivot.x + ceilingHalfSpan, ceilingY};
    canvas.paintPart(Vec{pivot.x, ceilingY}, ceilingHalfSpan + 2.0, [&](Vec p) { return barDistance(p, from, to, 0.0); });
    const int base = pixelOf(ceilingY) - 2;
    for (int x = pixelOf(from.x); x + 7 <= pixelOf(to.x); x += 6)
        canvas.line(x, base, x + 7, base - 7);

    const Vec top{pivot.x, ceilingY};
    canvas.paintPart(pivot, pivot.y - ceilingY + hubRadius, [&](Vec p) {
        const double hanger = barDistance(p, top, pivot, hangerHalfWidth);
        const double foot = boxDistance(p, Vec{pivot.x - footHalfWidth, ceilingY}, Vec{pivot.x + footHalfWidth, ceilingY + footDepth});
        // Cut flat at the ceiling: the hanger is bolted to it.
        return std::max(filletUnion(hanger, foot, 6.0), ceilingY - p.y);
    });
}

void drawCam(Canvas& canvas, const std::vector<Vec>& outline, int position)
{
    const Vec c = layout().camCentre;
    double inner = length(outline.front() - c);
    double outer = inner;
    for (const Vec& corner : outline) {
        inner = std::min(inner, length(corner - c));
        outer = std::max(outer, length(corner - c));
    }
    canvas.paintPart(c, outer + 2.0, [&](Vec p) {
        const Vec q = pictureToCam(position, p);
        const double r = length(q - c);
        // Well inside or outside the outline only the sign matters; the
        // polygon is measured where the outline can be.
        const double rim = r < inner - 3.0 || r > outer + 3.0 ? r - inner : polygonDistance(q, outline);
        // Shaft bore with its keyway on the lobe's axis, and a timing hole.
        const double bore = std::min(circleDistance(q, c, shaftRadius),
                                     boxDistance(q, Vec{c.x - 3.5, c.y - shaftRadius - 4.5}, Vec{c.x + 3.5, c.y - 6.0}));
        const double hole = circleDistance(q, Vec{c.x, c.y - 34.0}, 4.5);
        return std::max({rim, -bore, -hole});
    });
    const int half = pixelOf(inner + 8.0);
    canvas.centreLine(pixelOf(c.x), pixelOf(c.y), 1, 0, half);
    canvas.centreLine(pixelOf(c.x), pixelOf(c.y), 0, 1, half);
}

void drawPivotPin(Canvas& canvas, Vec pivot)
{
    canvas.paintPart(pivot, pinRadius + 2.0, [&](Vec p) { return circleDistance(p, pivot, pinRadius); });
    const int half = pixelOf(hubRadius + 8.0);
    canvas.centreLine(pixelOf(pivot.x), pixelOf(pivot.y), 1, 0, half);
    canvas.centreLine(pixelOf(pivot.x), pixelOf(pivot.y), 0, 1, half);
}

}  // namespace framegen
