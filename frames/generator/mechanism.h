#pragma once

#include "vec.h"

#include <array>
#include <vector>

namespace framegen {

inline constexpr int positionsPerLift = 18;
inline constexpr double degreesPerPosition = 360.0 / positionsPerLift;

enum Side { left = 0, right = 1 };

// Fixed geometry of the machine at rest. The right half mirrors the left.
struct Layout {
    Vec camCentre;
    std::array<Vec, 2> pivot;
    std::array<Vec, 2> rollerAtRest;
    double rollerRadius = 0.0;
    double baseRadius = 0.0;  // cam radius wherever the followers dwell
};

const Layout& layout();

// How far (degrees) the lever on `side` has swung outwards at a position of
// the cycle; `position` may be fractional. Each lever rises and falls over
// eight positions with a raised-cosine profile and rests otherwise.
double swingAt(Side side, double position, double fullSwing);

// Where a point of the lever on `side`, given at rest, is after `swing`.
Vec leverToPicture(Side side, double swing, Vec atRest);
// The inverse: where a picture point lies in the lever's rest pose.
Vec pictureToLever(Side side, double swing, Vec inPicture);

// The cam turns anticlockwise on the picture, one position per 20 degrees;
// these map between the picture and the cam's own frame at position 0.
Vec camToPicture(double position, Vec onCam);
Vec pictureToCam(double position, Vec inPicture);

// Outline of the cam (frame at position 0) cut so that both rollers ride on
// it through the whole cycle for the given full swing of the levers.
std::vector<Vec> camOutline(double fullSwing);

}  // namespace framegen
