#include "icon.h"

#include <algorithm>

namespace framegen {
namespace {

// The square of the picture that holds the cam, both levers and their supports.
constexpr int cropLeft = 30;
constexpr int cropTop = 2;
constexpr int cropSize = 285;
constexpr int samples = 8;  // per axis, per icon pixel

// Share (0..1) of black among the picture pixels under icon pixel (x, y) of an inner square.
double blackShare(const Canvas& frame, int x, int y, int inner)
{
    int black = 0;
    for (int j = 0; j < samples; ++j) {
        for (int i = 0; i < samples; ++i) {
            const int sx = cropLeft + ((x * samples + i) * cropSize) / (inner * samples);
            const int sy = cropTop + ((y * samples + j) * cropSize) / (inner * samples);
            black += frame.at(sx, sy) == Canvas::black;
        }
    }
    return static_cast<double>(black) / (samples * samples);
}

// Share (0..1) of icon pixel (x, y) inside a rounded square inset by `inset` with corner radius `radius`.
double tileShare(int x, int y, int size, double inset, double radius)
{
    int inside = 0;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            const double px = x + (i + 0.5) / 4;
            const double py = y + (j + 0.5) / 4;
            const double lo = inset + radius;
            const double hi = size - inset - radius;
            const double dx = std::max({lo - px, 0.0, px - hi});
            const double dy = std::max({lo - py, 0.0, py - hi});
            inside += dx * dx + dy * dy <= radius * radius && px >= inset && py >= inset &&
                      px <= size - inset && py <= size - inset;
        }
    }
    return inside / 16.0;
}

}  // namespace

std::vector<std::uint8_t> drawIcon(const Canvas& frame, int size)
{
    const double radius = size / 7.0;
    const int margin = std::max(1, size / 12);
    const int inner = size - 2 * margin;
    // Thin lines fade when shrunk; darkening keeps the drawing readable at small sizes.
    const double gain = size <= 32 ? 2.2 : size <= 64 ? 1.7 : 1.3;
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double outer = tileShare(x, y, size, 0.0, radius);
            const double face = tileShare(x, y, size, std::max(1.0, size / 64.0), radius);
            double level = face * 255.0 + (outer - face) * 110.0;
            if (x >= margin && y >= margin && x < margin + inner && y < margin + inner) {
                const double ink = std::min(1.0, blackShare(frame, x - margin, y - margin, inner) * gain);
                level = std::min(level, 255.0 * (1.0 - ink) + 0.5);
            }
            const double alpha = outer * 255.0;
            const auto grey = static_cast<std::uint8_t>(outer > 0 ? std::clamp(level / outer, 0.0, 255.0) : 0.0);
            auto* pixel = &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(size) + static_cast<std::size_t>(x)) * 4];
            pixel[0] = pixel[1] = pixel[2] = grey;
            pixel[3] = static_cast<std::uint8_t>(alpha + 0.5);
        }
    }
    return rgba;
}

}  // namespace framegen
