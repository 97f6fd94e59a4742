#include "mechanism.h"

#include "trig.h"

#include <cmath>
#include <limits>

namespace framegen {
namespace {

// The left roller touches the base circle 10 degrees below the cam's
// horizontal centre line and the right one mirrors it, 160 degrees apart
// through the bottom: the lobe, turning anticlockwise, reaches the right
// roller eight positions after the left one.
constexpr double contactBelowHorizontal = 10.0;
constexpr double leverReach = 62.0;  // pivot to roller pin
constexpr double leftLiftCentre = 5.0;
constexpr double rightLiftCentre = 13.0;
constexpr double liftHalfSpan = 4.0;

Layout makeLayout()
{
    Layout l;
    l.camCentre = {172.5, 160.5};
    l.pivot = {Vec{80.5, 115.5}, mirrored(Vec{80.5, 115.5})};
    l.rollerRadius = 12.0;
    // Roller pin on the contact ray from the cam centre, at leverReach from the
    // pivot: the nearer root of |C + s u - P| = leverReach.
    const Vec u{-cosDeg(contactBelowHorizontal), sinDeg(contactBelowHorizontal)};
    const Vec toCam = l.camCentre - l.pivot[left];
    const double b = dot(u, toCam);
    const double c = dot(toCam, toCam) - leverReach * leverReach;
    const double s = -b - std::sqrt(b * b - c);
    l.rollerAtRest = {l.camCentre + s * u, mirrored(l.camCentre + s * u)};
    l.baseRadius = s - l.rollerRadius;
    return l;
}

double raisedCosine(double offset)
{
    if (std::abs(offset) >= liftHalfSpan)
        return 0.0;
    return 0.5 * (1.0 + cosDeg(180.0 * offset / liftHalfSpan));
}

}  // namespace

const Layout& layout()
{
    static const Layout instance = makeLayout();
    return instance;
}

double swingAt(Side side, double position, double fullSwing)
{
    const double centre = side == left ? leftLiftCentre : rightLiftCentre;
    return fullSwing * raisedCosine(position - centre);
}

// Outward means clockwise on the picture for the left lever, anticlockwise
// for the right one.
Vec leverToPicture(Side side, double swing, Vec atRest)
{
    const Vec p = layout().pivot[side];
    return p + rotated(atRest - p, side == left ? swing : -swing);
}

Vec pictureToLever(Side side, double swing, Vec inPicture)
{
    return leverToPicture(side, -swing, inPicture);
}

Vec camToPicture(double position, Vec onCam)
{
    const Vec c = layout().camCentre;
    return c + rotated(onCam - c, -degreesPerPosition * position);
}

Vec pictureToCam(double position, Vec inPicture)
{
    const Vec c = layout().camCentre;
    return c + rotated(inPicture - c, degreesPerPosition * position);
}

std::vector<Vec> camOutline(double fullSwing)
{
    const Layout& l = layout();
    // Roller centres seen from the cam, every half degree of its turn.
    constexpr int samples = 720;
    std::vector<Vec> rollers;
    for (int i = 0; i < samples; ++i) {
        const double position = positionsPerLift * i / static_cast<double>(samples);
        for (Side side : {left, right}) {
            const Vec r = leverToPicture(side, swingAt(side, position, fullSwing), l.rollerAtRest[side]);
            rollers.push_back(pictureToCam(position, r) - l.camCentre);
        }
    }
    // Along each ray from the centre the cam ends where the first roller circle
    // begins, which keeps every roller touching and none cutting into it.
    constexpr int corners = 180;
    const double r2 = l.rollerRadius * l.rollerRadius;
    std::vector<Vec> outline;
    for (int k = 0; k < corners; ++k) {
        const double angle = 360.0 * k / corners;
        const Vec u{cosDeg(angle), sinDeg(angle)};
        double reach = std::numeric_limits<double>::max();
        for (const Vec& c : rollers) {
            const double b = dot(u, c);
            const double disc = b * b - (dot(c, c) - r2);
            if (b > 0.0 && disc >= 0.0)
                reach = std::min(reach, b - std::sqrt(disc));
        }
        outline.push_back(l.camCentre + reach * u);
    }
    return outline;
}

}  // namespace framegen
