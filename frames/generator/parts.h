#pragma once

#include "canvas.h"
#include "mechanism.h"

#include <vector>

// The parts of the drawing, each painted over what is already there, so the
// order of calls is the order from back to front.
namespace framegen {

inline constexpr double hubRadius = 14.0;
inline constexpr double ceilingY = 30.0;

// Ceiling with hatching and the hanger carrying a lever's pivot.
void drawSupport(Canvas& canvas, Vec pivot);
// The cam at `position` with its centre lines.
void drawCam(Canvas& canvas, const std::vector<Vec>& outline, int position);
// Stem of one side, swung out by `swing` degrees; it runs off the bottom.
void drawStem(Canvas& canvas, Side side, double swing);
// Lever and roller of one side, swung out by `swing` degrees.
void drawLever(Canvas& canvas, Side side, double swing);
// Return spring between the two stems that keeps the rollers on the cam.
void drawSpring(Canvas& canvas, double leftSwing, double rightSwing);
// Fixed pin through a lever's hub, with its centre lines.
void drawPivotPin(Canvas& canvas, Vec pivot);

// Small cross of one-pixel lines marking the centre of a pin.
void drawCross(Canvas& canvas, Vec centre, int arm);

}  // namespace framegen
