#include "drawing.h"

#include "mechanism.h"
#include "parts.h"

namespace framegen {

Canvas drawFrame(const std::vector<Vec>& camOutline, double fullSwing, int position)
{
    Canvas canvas;
    const Layout& l = layout();
    const double swing[2] = {swingAt(left, position, fullSwing), swingAt(right, position, fullSwing)};
    for (Side side : {left, right})
        drawSupport(canvas, l.pivot[side]);
    drawCam(canvas, camOutline, position);
    for (Side side : {left, right})
        drawStem(canvas, side, swing[side]);
    drawSpring(canvas, swing[left], swing[right]);
    for (Side side : {left, right}) {
        drawLever(canvas, side, swing[side]);
        drawPivotPin(canvas, l.pivot[side]);
    }
    return canvas;
}

}  // namespace framegen
