#include "platforms/qt/changed_bands.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace qex {

std::vector<QRect> changedBands(const QImage& from, const QImage& to, int bandRows)
{
    std::vector<QRect> bands;
    const int width = to.width();
    const int height = to.height();
    const int rowBytes = (width + 7) / 8;
    // Bits past the right edge are padding, which may hold anything.
    const auto lastByteMask = static_cast<uchar>(0xFF << (rowBytes * 8 - width));
    const auto differs = [&](const uchar* a, const uchar* b, int i) {
        const uchar mask = i == rowBytes - 1 ? lastByteMask : uchar{0xFF};
        return ((a[i] ^ b[i]) & mask) != 0;
    };
    for (int top = 0; top < height; top += bandRows) {
        const int bottom = std::min(height, top + bandRows);
        int first = rowBytes;
        int last = -1;
        for (int y = top; y < bottom; ++y) {
            const uchar* a = from.constScanLine(y);
            const uchar* b = to.constScanLine(y);
            int i = 0;
            // Whole words first: most of a row is the same from one frame to the next.
            for (std::uint64_t wordA = 0, wordB = 0; i + 8 <= std::min(first, rowBytes - 1); i += 8) {
                std::memcpy(&wordA, a + i, 8);
                std::memcpy(&wordB, b + i, 8);
                if (wordA != wordB) break;
            }
            while (i < first && !differs(a, b, i)) ++i;
            first = std::min(first, i);
            int j = rowBytes - 1;
            if (!differs(a, b, j)) {
                --j;
                for (std::uint64_t wordA = 0, wordB = 0; j - 7 > last; j -= 8) {
                    std::memcpy(&wordA, a + j - 7, 8);
                    std::memcpy(&wordB, b + j - 7, 8);
                    if (wordA != wordB) break;
                }
                while (j > last && !differs(a, b, j)) --j;
            }
            last = std::max(last, j);
        }
        if (last >= first) {
            const int left = first * 8;
            const int right = std::min(width, (last + 1) * 8);
            bands.emplace_back(left, top, right - left, bottom - top);
        }
    }
    return bands;
}

}  // namespace qex
