#include "parts.h"

#include "shapes.h"

#include <cmath>

namespace framegen {
namespace {

constexpr double armRounding = 5.0;
constexpr double socketLength = 46.0;  // how far the lever grips its stem
constexpr double stemHalfWidth = 3.5;
constexpr double stemLength = 460.0;  // past the bottom edge at any swing
constexpr double springDrop = 190.0;  // spring eyes, below the pivots
constexpr double springLead = 16.0;   // straight hook at each end
constexpr double springAmplitude = 5.0;
constexpr int springWaves = 15;

Vec springEye(Side side, double swing)
{
    const Vec pivot = layout().pivot[side];
    return leverToPicture(side, swing, pivot + Vec{0.0, springDrop});
}

}  // namespace

void drawStem(Canvas& canvas, Side side, double swing)
{
    const Vec pivot = layout().pivot[side];
    const Vec top = pivot + Vec{0.0, socketLength - 16.0};
    const Vec foot = pivot + Vec{0.0, stemLength};
    canvas.paintPart(pivot, stemLength + 2.0, [&](Vec p) {
        return barDistance(pictureToLever(side, swing, p), top, foot, stemHalfWidth);
    });
}

void drawLever(Canvas& canvas, Side side, double swing)
{
    const Layout& l = layout();
    const Vec pivot = l.pivot[side];
    const Vec roller = l.rollerAtRest[side];
    // A plate joining hub, roller pin and stem socket, with rounded corners.
    const std::vector<Vec> plate{pivot, roller, pivot + Vec{0.0, socketLength}};
    canvas.paintPart(pivot, socketLength + 2.0 * hubRadius, [&](Vec p) {
        const Vec q = pictureToLever(side, swing, p);
        const double web = polygonDistance(q, plate) - armRounding;
        return filletUnion(circleDistance(q, pivot, hubRadius), web, 8.0);
    });
    const Vec rollerNow = leverToPicture(side, swing, roller);
    canvas.paintPart(rollerNow, l.rollerRadius + 2.0, [&](Vec p) { return circleDistance(p, rollerNow, l.rollerRadius); });
    canvas.paintPart(rollerNow, 5.0, [&](Vec p) { return circleDistance(p, rollerNow, 3.0); }, 0.5);
    drawCross(canvas, rollerNow, 2);
}

void drawSpring(Canvas& canvas, double leftSwing, double rightSwing)
{
    const Vec a = springEye(left, leftSwing);
    const Vec b = springEye(right, rightSwing);
    const double span = length(b - a);
    const Vec along = (1.0 / span) * (b - a);
    const Vec across{-along.y, along.x};
    std::vector<Vec> wire{a, a + springLead * along};
    const double step = (span - 2.0 * springLead) / (2 * springWaves);
    for (int i = 1; i < 2 * springWaves; ++i) {
        const double side = i % 2 == 1 ? springAmplitude : -springAmplitude;
        wire.push_back(a + (springLead + step * i) * along + side * across);
    }
    wire.push_back(b - springLead * along);
    wire.push_back(b);
    canvas.paintPart(0.5 * (a + b), 0.5 * span + springAmplitude + 2.0, [&](Vec p) {
        double d = barDistance(p, wire[0], wire[1], 0.0);
        for (std::size_t i = 2; i < wire.size(); ++i)
            d = std::min(d, barDistance(p, wire[i - 1], wire[i], 0.0));
        return d;
    });
    for (const Vec eye : {a, b}) {
        canvas.paintPart(eye, 6.0, [&](Vec p) { return circleDistance(p, eye, 3.0); });
    }
}

}  // namespace framegen
