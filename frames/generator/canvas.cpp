#include "canvas.h"

#include <cstdlib>

namespace framegen {

void Canvas::line(int x0, int y0, int x1, int y1, const std::vector<int>& pattern, int phase)
{
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    std::size_t run = 0;
    int used = 0;
    while (!pattern.empty() && phase-- > 0) {
        if (++used == pattern[run]) {
            run = (run + 1) % pattern.size();
            used = 0;
        }
    }
    for (;;) {
        if (pattern.empty() || run % 2 == 0)
            set(x0, y0, black);
        if (!pattern.empty() && ++used == pattern[run]) {
            run = (run + 1) % pattern.size();
            used = 0;
        }
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::centreLine(int midX, int midY, int dirX, int dirY, int halfLength)
{
    // Long dash, gap, dot, gap; each half starts in the middle of a long dash so
    // the two halves join into one dash across the centre.
    const std::vector<int> pattern{11, 2, 1, 2};
    const int phase = 5;
    line(midX, midY, midX + dirX * halfLength, midY + dirY * halfLength, pattern, phase);
    line(midX, midY, midX - dirX * halfLength, midY - dirY * halfLength, pattern, phase);
}

}  // namespace framegen
