#pragma once

#include "vec.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace framegen {

inline constexpr int pictureWidth = 345;
inline constexpr int pictureHeight = 405;

// A monochrome picture, row 0 at the top; each pixel holds its palette index.
class Canvas {
public:
    static constexpr std::uint8_t black = 0;
    static constexpr std::uint8_t white = 1;

    Canvas() : pixels_(pictureWidth * pictureHeight, white) {}

    std::uint8_t at(int x, int y) const { return pixels_[index(x, y)]; }
    void set(int x, int y, std::uint8_t value)
    {
        if (x >= 0 && x < pictureWidth && y >= 0 && y < pictureHeight)
            pixels_[index(x, y)] = value;
    }

    // A solid part in front of what is already drawn: its inside turns white and
    // a band `halfWidth` either side of its outline turns black. `distance` is
    // the signed distance to the outline (negative inside); `reach` bounds the
    // part from `centre` so only nearby pixels are visited.
    template <class Distance>
    void paintPart(Vec centre, double reach, Distance distance, double halfWidth = 1.0)
    {
        const int x0 = std::max(0, static_cast<int>(std::floor(centre.x - reach)));
        const int x1 = std::min(pictureWidth - 1, static_cast<int>(std::ceil(centre.x + reach)));
        const int y0 = std::max(0, static_cast<int>(std::floor(centre.y - reach)));
        const int y1 = std::min(pictureHeight - 1, static_cast<int>(std::ceil(centre.y + reach)));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const double d = distance(Vec{x + 0.5, y + 0.5});
                // Half-open band: an edge along pixel centres or along pixel
                // borders both come out exactly two pixels wide.
                if (d <= -halfWidth)
                    set(x, y, white);
                else if (d <= halfWidth)
                    set(x, y, black);
            }
        }
    }

    // One-pixel line between pixel (x0, y0) and pixel (x1, y1); `pattern` gives
    // alternating on and off run lengths, entered `phase` pixels into its cycle.
    void line(int x0, int y0, int x1, int y1, const std::vector<int>& pattern = {}, int phase = 0);

    // Chain line for a centre line, symmetric about pixel `mid`: a long dash
    // sits on the centre and the pattern repeats outwards to `halfLength`.
    void centreLine(int midX, int midY, int dirX, int dirY, int halfLength);

private:
    static int index(int x, int y) { return y * pictureWidth + x; }
    std::vector<std::uint8_t> pixels_;
};

}  // namespace framegen
